// The shared streaming vertex buffers.
#include "render/dynamic_buffer.h"

#include <epoxy/gl.h>

#include <array>
#include <vector>

#include "render/gl_fixture.h"

namespace morvanex {
namespace {

using DynamicVertexBufferTest = testing::GlTest;

std::vector<unsigned char> contents(const DynamicVertexBuffer& b, std::size_t size) {
    std::vector<unsigned char> bytes(size);
    glBindBuffer(GL_ARRAY_BUFFER, b.buffer());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(size), bytes.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return bytes;
}

TEST_F(DynamicVertexBufferTest, EachWriteReplacesTheContentsAndOverflowWritesNothing) {
    DynamicVertexBuffer buffer;
    ASSERT_TRUE(buffer.create(kWorldLineBufferBytes));
    EXPECT_EQ(buffer.capacity(), 280000u);
    const std::array<unsigned char, 4> first{1, 2, 3, 4};
    ASSERT_TRUE(buffer.write(first.data(), first.size()));
    EXPECT_EQ(contents(buffer, 4), std::vector<unsigned char>(first.begin(), first.end()));
    const std::array<unsigned char, 2> second{9, 8};
    ASSERT_TRUE(buffer.write(second.data(), second.size()));
    EXPECT_EQ(contents(buffer, 2), (std::vector<unsigned char>{9, 8}));

    const std::vector<unsigned char> tooMany(kWorldLineBufferBytes + 1, 7);
    EXPECT_FALSE(buffer.write(tooMany.data(), tooMany.size()));
    EXPECT_EQ(contents(buffer, 2), (std::vector<unsigned char>{9, 8}));

    const GLuint name = buffer.buffer();
    buffer.release();
    EXPECT_FALSE(glIsBuffer(name));
    EXPECT_FALSE(buffer.write(first.data(), first.size()));
}

}  // namespace
}  // namespace morvanex
