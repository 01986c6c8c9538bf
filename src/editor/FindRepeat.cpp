#include "editor/FindRepeat.h"

#include "editor/FindInText.h"
#include "editor/SearchFlags.h"
#include "editor/SearchMessages.h"

namespace FindRepeat {

bool CanRepeat(const SearchTarget& target) {
    const SearchState state = target.LastSearch();
    return state.hasLastSearch && !state.lastWhat.empty();
}

bool Repeat(SearchTarget& target, bool otherWay) {
    SearchState state = target.LastSearch();
    if (!state.hasLastSearch || state.lastWhat.empty()) {
        return false;
    }
    const uint32_t flags = otherWay ? state.lastFlags ^ SearchFlags::Upwards : state.lastFlags;
    const CTextPosition origin = target.SearchOrigin((flags & SearchFlags::Upwards) != 0);
    CTextPosition found;
    if (!FindInText(target, state.lastWhat, origin, flags, true, found)) {
        SearchMessages::ShowNotFound(state.lastWhat);
        return false;
    }
    target.HighlightMatch(found, static_cast<int>(state.lastWhat.size()));
    state.repeatedSearch = true;
    target.SetLastSearch(state);
    return true;
}

} // namespace FindRepeat
