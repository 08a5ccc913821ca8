#pragma once
#include <map>
#include <memory>
#include <string>

#include "nwl/style/IStyledWidget.h"
#include "nwl/style/StyleSheet.h"

namespace QX::UIA {
class Font;
}

namespace QX::NWL {

class WidgetStyle;

// The owner of the library's current style sheet and of the per-widget
// style records.
class StyleManager {
public:
    // `defaultFont` is what a record uses when no rule gives a font.
    explicit StyleManager(const UIA::Font* defaultFont = nullptr);
    ~StyleManager();
    StyleManager(const StyleManager&) = delete;
    StyleManager& operator=(const StyleManager&) = delete;

    StyleSheet& getStyleSheet() { return *sheet_; }
    // The name of the last sheet set by name; empty for the built-in one.
    const std::string& getStylesheetName() const { return name_; }
    void setStylesheetName(std::string name) { name_ = std::move(name); }

    // The widget's record, made on first use (not filled: see
    // WidgetStyle::update).
    WidgetStyle& getWidgetStyle(const IStyledWidget& widget);
    const WidgetStyle* findWidgetStyle(const IStyledWidget& widget) const;
    // Forgets the widget alone: its record and its cached rules (it is going
    // away).
    void eraseWidget(const IStyledWidget& widget);
    std::size_t getWidgetStyleCount() const { return styles_.size(); }

    void setDefaultFont(const UIA::Font* font) { defaultFont_ = font; }

private:
    std::unique_ptr<StyleSheet> sheet_;
    std::string name_;
    const UIA::Font* defaultFont_;
    std::map<const IStyledWidget*, std::unique_ptr<WidgetStyle>> styles_;
};

}  // namespace QX::NWL
