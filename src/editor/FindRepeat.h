#pragma once

#include "editor/SearchTarget.h"

// F3 and Shift+F3: the view's last search again, without the dialog.
namespace FindRepeat {

// Both commands are enabled once the view has a search to repeat.
bool CanRepeat(const SearchTarget& target);
// The last search from the caret, with wrap; `otherWay` (Shift+F3) turns its direction round for
// this one search. Found: the match is shown. Not found: the message. Without a last search,
// nothing.
bool Repeat(SearchTarget& target, bool otherWay);

} // namespace FindRepeat
