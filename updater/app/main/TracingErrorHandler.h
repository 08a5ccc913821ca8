#pragma once

namespace QX {

// Hands every report of the widget library (style-sheet errors, missing
// pictures and fonts) to the trace, so that a run of the program shows them.
void installTracingErrorHandler();

}  // namespace QX
