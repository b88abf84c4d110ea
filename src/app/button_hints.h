// The hint bubbles of the editor's picture-only buttons: tools, toggles and
// view buttons show their name in the current language while the pointer
// rests on them, as every bubble of the toolkit does.
#pragma once

namespace morvanex {

class Application;

void addButtonHints(Application& app);

}  // namespace morvanex
