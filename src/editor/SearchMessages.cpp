#include "editor/SearchMessages.h"

#include "dialogs/MessageBoxes.h"

namespace SearchMessages {

std::string NotFoundText(std::string_view what) {
    std::string text = "Cannot find string\"";
    text.append(what);
    text.push_back('"');
    return text;
}

void ShowNotFound(std::string_view what) {
    MessageBoxes::Tell(caption, NotFoundText(what), MessageBoxes::Icon::Information);
}

} // namespace SearchMessages
