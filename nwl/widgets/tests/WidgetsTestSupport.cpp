#include "WidgetsTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "gp/Resources.h"
#include "nwl/core/Library.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/core/Widget.h"
#include "nwl/style/StyleParser2.h"
#include "uia/picture/Font.h"

namespace QX::NWL::Testing {
namespace {

// The library started once for every test. The native build has no embedded
// resources: it is given the font file the program build embeds.
class LibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/default.ttf", std::ios::binary);
        GP::registerResource(GP::ResourceId(1), UIA::kFontResourceType,
                             {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
        init();
    }
    void TearDown() override { exit(); }
};

const auto* const kLibrary = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

}  // namespace

StyledPane::StyledPane(const char* sheetText)
{
    auto sheet = std::make_shared<StyleSheet>();
    EXPECT_TRUE(StyleParser2::processString(*sheet, sheetText, getManagerContainer()->makeResourceDeriver()));
    setStyleSheet(sheet);
}

void paintWidget(Widget& widget, Canvas& canvas)
{
    GP::Region region(widget.getAbsoluteRect());
    PaintContext context(canvas, region, widget.getAbsoluteRect(), 1.0f);
    canvas.setOffset(widget.getAbsolutePosition());
    widget.paint(context);
}

}  // namespace QX::NWL::Testing
