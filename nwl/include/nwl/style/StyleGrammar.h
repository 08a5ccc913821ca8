#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "nwl/style/StyleParser2.h"

namespace QX::NWL {

namespace DETAIL {
class StyleGrammarRules;
}

// The grammar of the style-sheet language and the actions its rules call:
// they gather each simple selector, selector, declaration and style and hand
// finished styles, constants and imports to the processor. One grammar reads
// one text; its rules hold this object, so it is never copied.
class StyleGrammar {
public:
    // The parts of one simple selector while it is read.
    struct tSimpleSelector {
        std::string typeName;
        std::string templateArgument;
        std::string styleClass;
        std::string elementName;
        std::vector<StyleParser2::tStateSelector> states;
        std::vector<StyleParser2::tAttrSelector> attributes;
        // Joined to the simple selector before it by "::".
        bool relation = false;
    };

    // Which rule's error handler recovered.
    enum eRecovery { eAttributeSelector, eSelector, eDeclaration, eStyle, eStylesheet };

    // Display texts of expected items in syntax errors.
    static const std::map<std::string, std::string> expectationNames;

    StyleGrammar(StyleParser2& processor, std::string sourceName);
    ~StyleGrammar();
    StyleGrammar(const StyleGrammar&) = delete;
    StyleGrammar& operator=(const StyleGrammar&) = delete;

    // Runs the start rule over the whole text; true when it matched all of it.
    bool parse(std::string_view text);

    // "Expecting " and the display text of an expected item, given by its
    // tag ("literal-char", a rule name, ...) and, for literals, its text.
    static std::string describeExpectation(const std::string& tag, const std::string& literal);

    // The line of a position of the text being parsed (1 at its start).
    std::uint32_t lineAt(const char* position) const;
    // Just past the "*/" that closes the block comment opening at
    // `position`; null when none does (or no "/*" stands there). Found from
    // the comment ends listed once per text, so a "/*" tried again and again
    // costs no rescan of the text.
    const char* blockCommentEnd(const char* position, const char* end) const;

    // Actions.
    void markPosition(const char* position) { mark_ = position; }
    void storeType(const char* begin, const char* end);
    void storeTemplateArgument(const std::string& argument) { current_.templateArgument = argument; }
    void storeStyleClass(const std::string& styleClass) { current_.styleClass = styleClass; }
    void storeElementName(const std::string& name) { current_.elementName = name; }
    void addAttributeSelector(const StyleParser2::tAttrSelector& attribute) { current_.attributes.push_back(attribute); }
    void addStateSelector(const StyleParser2::tStateSelector& state) { current_.states.push_back(state); }
    void storeRelation(bool relation) { current_.relation = relation; }
    void endSimpleSelector();
    void endSelector();
    void storeDeclarationName(const std::string& name) { propertyName_ = name; }
    void storeDeclarationValue(const StyleParser2::tPropertyValue& value) { propertyValue_ = value; }
    void endDeclaration();
    void endStyle();
    std::uint32_t makeColor(const std::vector<std::uint32_t>& components, bool withAlpha);
    StyleParser2::tPropertyValue getConstant(const std::string& name);
    void defineConstant(const StyleParser2::tConstant& constant);
    void importStylesheet(const std::string& fileName);

    // Error handling: reports the message at the error position and answers
    // where reading goes on; empties what the failed part left half read.
    const char* recover(eRecovery rule, const char* errorPosition, const char* end, const std::string& message);

    // Turns the chain of simple selectors into a selector of the model.
    Selector buildSelector(const std::vector<tSimpleSelector>& chain, std::uint32_t firstLine) const;

private:
    bool runRules(const char* begin, const char* end);
    void reportError(const char* position, const std::string& message);
    void discardSimpleSelector();
    void discardDeclaration();
    void discardStyle();

    StyleParser2& processor_;
    std::string sourceName_;
    qx::symbol sourceSymbol_;
    const char* textBegin_ = nullptr;
    const char* textEnd_ = nullptr;
    // Offsets at which lines 2, 3, ... begin.
    std::vector<std::size_t> lineStarts_;
    // Offsets of every "*/" of the text, in order.
    std::vector<std::size_t> commentEnds_;
    const char* mark_ = nullptr;
    // Where the last style ended (or the text began): a style that starts on
    // that line carries line 0, as does one on the first line.
    const char* styleBoundary_ = nullptr;

    tSimpleSelector current_;
    std::vector<tSimpleSelector> chain_;
    std::string propertyName_;
    StyleParser2::tPropertyValue propertyValue_;
    std::vector<Selector> selectors_;
    std::vector<Property> properties_;
    std::uint32_t firstLine_ = 0;

    std::unique_ptr<DETAIL::StyleGrammarRules> rules_;
};

}  // namespace QX::NWL
