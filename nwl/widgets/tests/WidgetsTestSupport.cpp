#include "WidgetsTestSupport.h"

#include <gtest/gtest.h>

#include <string>

#include "../../core/tests/TestResources.h"
#include "nwl/core/Library.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/core/Widget.h"
#include "nwl/style/StyleParser2.h"

namespace QX::NWL::Testing {
namespace {

// The library started once for every test, with the program's fonts.
class LibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        registerProgramFonts();
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
