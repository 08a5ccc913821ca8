// TEMPORARY stand-in until the style query lands
#include "nwl/widgets/PanelDrawer.h"
#include "nwl/core/Widget.h"
namespace QX::NWL {
PanelDrawer::PanelDrawer() = default;
void PanelDrawer::draw(const Widget&, PaintContext&, std::string_view, bool) {}
void PanelDrawer::drawBackground(const Widget&, PaintContext&) {}
void PanelDrawer::drawText(const Widget&, PaintContext&, std::string_view, bool) {}
void PanelDrawer::drawTextInRect(const Widget&, PaintContext&, std::string_view, const GP::Rect&, std::uint32_t, bool) {}
const UIA::Font* PanelDrawer::getStateFont(const Widget&, float) { return nullptr; }
std::uint32_t PanelDrawer::getAlignmentFlags(const Widget&) { return 4096 | 256; }
std::string PanelDrawer::shorten(const UIA::Font&, std::string_view text, std::int32_t) { return std::string(text); }
}
