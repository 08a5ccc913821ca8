// The wizard's widget tree, its About overlay and its layout hook.
#include "updater/app/UpdateWizardMainWidget.h"

#include <boost/format.hpp>
#include <thread>

#include "nwl/core/WidgetFlags.h"
#include "uia/AppModule.h"
#include "uia/IApplication.h"

namespace QX {

namespace {

// Titles longer than this take the About card's smaller title size.
constexpr std::size_t kLongTitleBytes = 36;

// Makes a widget, names it and appends it to `parent`; the caller sets it up.
template <typename T>
std::shared_ptr<T> addNamedChild(NWL::Widget& parent, const char* name) {
    auto child = std::make_shared<T>();
    parent.addChild(child, name);
    return child;
}

std::shared_ptr<NWL::Label> addLabel(NWL::Widget& parent, const char* name, const std::string& text,
                                     const char* styleClass = nullptr) {
    auto label = addNamedChild<NWL::Label>(parent, name);
    label->setup(text, styleClass);
    return label;
}

std::shared_ptr<NWL::Bar> addBar(NWL::Widget& parent, const char* name, std::uint32_t direction,
                                 const char* styleClass) {
    auto bar = addNamedChild<NWL::Bar>(parent, name);
    bar->setup(direction, styleClass);
    return bar;
}

template <typename Slot>
std::shared_ptr<NWL::Button> addButton(NWL::Widget& parent, const char* name, const char* text,
                                       const char* styleClass, Slot slot) {
    auto button = addNamedChild<NWL::Button>(parent, name);
    button->setup(text, styleClass);
    button->releasedSignal.connect([slot](const NWL::Button::tSignalData&) { slot(); });
    return button;
}

void disable(const std::shared_ptr<NWL::Widget>& widget) {
    widget->setEnabled(false);
}

bool takesPartInLayout(const NWL::Widget& child) {
    return child.isVisible() && !child.hasFlags(NWL::WidgetFlag::kExplicitlyPlaced) && !child.isOverlay();
}

// Lays the children of a widget that is no bar out side by side, the way a
// left-to-right bar does.
void arrangeLeftToRight(NWL::Widget& container) {
    const NWL::Margins& margins = container.getMargins();
    const std::int32_t breadth =
        container.getHeight() - margins.bottom - margins.top - container.getScrollOffset().y;
    std::int32_t cursor = 0;
    for (const auto& child : container.getChildren()) {
        if (!child || !takesPartInLayout(*child)) continue;
        const NWL::Margins& outer = child->getOuterMargins();
        child->setPosition(cursor + outer.left, outer.top);
        child->setHeight(breadth - outer.bottom - outer.top);
        cursor += child->getWidth() + outer.right + outer.left;
    }
}

void requestApplicationQuit() {
    if (auto* module = UIA::AppModule::getInstance()) {
        if (auto* application = module->getApplication()) application->requestQuit();
    }
}

}  // namespace

UpdateWizardMainWidget::UpdateWizardMainWidget(const std::string& productName, UpdaterTexts texts)
    : productName_(productName),
      texts_(std::move(texts)),
      result_(std::make_shared<std::atomic<std::int32_t>>(HVXMK2UpdaterUpgradeLogic::kResultRunning)),
      pause_([](std::chrono::milliseconds delay) { std::this_thread::sleep_for(delay); }),
      quitRequest_(requestApplicationQuit) {
    setup(eTopToBottom, "FirmwareUpdaterMainWidget");
    buildTitlePanel();
    buildBodyPanel();
    buildAboutOverlay();
}

UpdateWizardMainWidget::~UpdateWizardMainWidget() = default;

void UpdateWizardMainWidget::buildTitlePanel() {
    auto panel = addBar(*this, "FirmwareUpdaterTitlePanel", eRightToLeft, "FirmwareUpdaterTitlePanel");
    widgets_.titlePanel = panel;
    widgets_.headline = addLabel(*panel, "FirmwareUpdaterTitlePanelHeadline", texts_.title);
    widgets_.aboutButton = addButton(*panel, "FirmwareUpdaterTitlePanelAbout", "About",
                                     "FirmwareUpdaterTitlePanelAbout", [this] { showAbout(); });
}

void UpdateWizardMainWidget::buildBodyPanel() {
    auto body = addBar(*this, "FirmwareUpdaterBodyPanel", eTopToBottom, "FirmwareUpdaterBodyPanel");
    widgets_.bodyPanel = body;
    buildFirmwarePanel(*body);
    buildInfoPanel(*body);
    buildButtonPanel(*body);
}

void UpdateWizardMainWidget::buildFirmwarePanel(NWL::Bar& body) {
    auto panel = addBar(body, "FirmwareUpdaterFirmwarePanel", eTopToBottom, "FirmwareUpdaterFirmwarePanel");
    auto panelBody = addBar(*panel, "FirmwareUpdaterFirmwarePanelBody", eLeftToRight, "FirmwareUpdaterFirmwarePanelBody");
    auto revisions = addBar(*panelBody, "FirmwareUpdaterFirmwarePanelRevisions", eTopToBottom,
                            "FirmwareUpdaterFirmwarePanelRevisions");

    struct tRow {
        const char* valueClass;
        const char* captionClass;
        const char* caption;
        std::shared_ptr<NWL::Label>* value;
    };
    const tRow rows[] = {
        {"FirmwareUpdaterNewestFirmwareRevisionValue", "FirmwareUpdaterNewestFirmwareRevisionLabel",
         "Updater Firmware", &widgets_.newestValue},
        {"FirmwareUpdaterInstalledFirmwareRevisionValue", "FirmwareUpdaterInstalledFirmwareRevisionLabel",
         "Installed Firmware", &widgets_.installedValue},
        {"FirmwareUpdaterSerialNumberValue", "FirmwareUpdaterSerialNumberLabel", "Serial Number",
         &widgets_.serialNumberValue},
    };
    for (const auto& row : rows) {
        auto bar = addBar(*revisions, "FirmwareUpdaterFirmwarePanelRevisionsRow", eLeftToRight, nullptr);
        bar->useBreadthFromChildren();
        *row.value = addLabel(*bar, "Value", "", row.valueClass);
        addLabel(*bar, "Label", row.caption, row.captionClass);
    }

    auto image = addBar(*panelBody, "FirmwareUpdaterFirmwarePanelDeviceImage", eTopToBottom,
                        "FirmwareUpdaterFirmwarePanelDeviceImage");
    image->setAttribute("product", texts_.productTag);
    widgets_.deviceImage = image;
    widgets_.deviceImageOverlay = addLabel(*image, "FirmwareUpdaterFirmwarePanelDeviceImageOverlay", "");
}

void UpdateWizardMainWidget::buildInfoPanel(NWL::Bar& body) {
    auto panel = addBar(body, "FirmwareUpdaterInfoPanel", eLeftToRight, "Panel");
    widgets_.infoPanel = panel;
    widgets_.iconLabel = addLabel(*panel, "FirmwareUpdaterInfoPanelIcon", "");

    auto wheel = std::make_shared<SpinningProgressWheel>();
    panel->addChild(wheel, "FirmwareUpdaterSpinningProgressWheel");
    wheel->setVisible(false);
    wheel->setup(eLeftToRight, "Panel");
    widgets_.wheel = wheel;

    // The style sheet gives the bar its width: taking it from the message as
    // well would be a contradiction the layout reports on every pass.
    auto labelBar = addBar(*panel, "FirmwareUpdaterInfoPanelLabelBar", eTopToBottom, nullptr);
    widgets_.labelBar = labelBar;
    auto message = addNamedChild<NWL::MultilineLabel>(*labelBar, "FirmwareUpdaterInfoPanelLabel");
    message->setAutoHeight(true);
    widgets_.messageLabel = message;
}

void UpdateWizardMainWidget::buildButtonPanel(NWL::Bar& body) {
    auto panel = addBar(body, "FirmwareUpdaterButtonPanel", eRightToLeft, "Panel");
    widgets_.buttonPanel = panel;
    widgets_.actionButton = addButton(*panel, "FirmwareUpdaterButtonAction", "?ACTION?", nullptr, [this] { step(); });
    widgets_.quitButton = addButton(*panel, "FirmwareUpdaterButtonQuit", "QUIT", nullptr, [this] { onQuitClicked(); });
}

void UpdateWizardMainWidget::buildAboutOverlay() {
    auto overlay = addButton(*this, "FirmwareUpdaterOverlay", "", nullptr, [this] { hideAbout(); });
    overlay->setExplicitlyPlaced(true);
    overlay->setVisible(false);
    // Styles reach the card only once it shows: every layout pass places it
    // again with its styled margins.
    overlay->setLayoutCallback([](NWL::Button& button) { arrangeLeftToRight(button); });
    widgets_.overlayButton = overlay;

    auto panel = addBar(*overlay, "FirmwareUpdaterOverlayPanel", eTopToBottom, "Panel");
    disable(panel);
    widgets_.overlayPanel = panel;

    widgets_.aboutTitle = addLabel(*panel, "FirmwareUpdaterAboutTitle", texts_.title);
    disable(widgets_.aboutTitle);
    if (texts_.title.size() > kLongTitleBytes) widgets_.aboutTitle->setAttribute("titleLength", "large");

    auto infos = addBar(*panel, "FirmwareUpdaterAboutInfos", eLeftToRight, "Panel");
    disable(infos);
    widgets_.aboutVersion = addLabel(*infos, "FirmwareUpdaterAboutVersion",
                                     (boost::format("%1% %2%") % texts_.updaterName % texts_.version).str());
    disable(widgets_.aboutVersion);
    widgets_.aboutRights = addLabel(*infos, "FirmwareUpdaterAboutCopyright", texts_.rightsLine);
    disable(widgets_.aboutRights);

    widgets_.aboutFirmwareRevision = addLabel(*panel, "FirmwareUpdaterAboutFirmwareRevision", "");
    disable(widgets_.aboutFirmwareRevision);

    auto contributors = addBar(*panel, "FirmwareUpdaterAboutContributors", eTopToBottom, "Panel");
    for (std::size_t i = 0; i < texts_.aboutLines.size(); ++i) {
        widgets_.aboutLines[i] = addLabel(*contributors, "FirmwareUpdaterAboutContributorsLine", texts_.aboutLines[i]);
        disable(widgets_.aboutLines[i]);
    }
}

void UpdateWizardMainWidget::showAbout() {
    NWL::Widget& overlay = *widgets_.overlayButton;
    overlay.setPosition(getPosition());
    overlay.setSize(getSize());
    const std::int32_t spareWidth = getWidth() - kAboutWidth;
    const std::int32_t spareHeight = getHeight() - kAboutHeight;
    const std::int32_t left = spareWidth / 2;
    const std::int32_t top = spareHeight / 2;
    overlay.setMargins(left, top, spareWidth - left, spareHeight - top);
    arrangeLeftToRight(overlay);
    overlay.setVisible(true);
}

void UpdateWizardMainWidget::hideAbout() {
    widgets_.overlayButton->setVisible(false);
}

void UpdateWizardMainWidget::onLayout() {
    Bar::onLayout();
    NWL::MultilineLabel& message = *widgets_.messageLabel;
    if (message.getHeight() == 0) return;
    const std::int32_t centred = (widgets_.infoPanel->getHeight() - message.getHeight()) >> 1;
    message.setPosition(0, centred - message.getMargins().top);
}

void UpdateWizardMainWidget::onQuitClicked() {
    if (state_ == eUpdating) return;
    if (quitRequest_) quitRequest_();
}

}  // namespace QX
