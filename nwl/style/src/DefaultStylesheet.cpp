#include "nwl/style/StyleParser2.h"

namespace QX::NWL {

// Every widget grey on grey, darker while pressed, lighter under the mouse,
// bars nearly black.
const char* const defaultStylesheetText =
    " * { background-color:rgb(192, 192, 192); background-border-color:rgb(128, 128, 128);  foreground-color:rgb(0, 0, 0); } \n"
    "*:down { background-color:rgb(176, 176, 176); }                           \n"
    "*:over { background-color:rgb(208, 208, 208); }                           \n"
    "Bar { background-color:rgb(32, 32, 32); /*margin:2; spacing:2;*/ }        \n";

}  // namespace QX::NWL
