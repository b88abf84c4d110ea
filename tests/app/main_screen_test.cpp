// The main screen as a person meets it: the editor started in a hidden
// window, clicked through with window messages, its state and pixels checked.
#include "app/editor_test_support.h"

namespace morvanex::test {
namespace {

class MainScreenTest : public EditorTest {};

TEST_F(MainScreenTest, StartsWithTheApplicationBuilt) {
    ASSERT_TRUE(app.has_value());
    frame();
}

}  // namespace
}  // namespace morvanex::test
