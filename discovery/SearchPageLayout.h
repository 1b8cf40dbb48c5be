#pragma once

class CDialogBase;

namespace searchpage {

// Places the page's controls for its size. Up to the template's size they sit
// where the template puts them; beyond it the result list takes the extra
// width and height, Search follows the right edge, and the status line and
// the language selector follow the bottom edge (the selector, in the corner,
// the right edge too). The other controls keep their places.
void LayOutSearchPage(CDialogBase& page);

} // namespace searchpage
