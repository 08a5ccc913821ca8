// What the grammar's rules call: gathering selectors, declarations and
// styles, line numbers, messages and error recovery.
#include <algorithm>

#include "nwl/style/StyleGrammar.h"
#include "nwl/style/StyleVocabulary.h"

namespace QX::NWL {

const std::map<std::string, std::string> StyleGrammar::expectationNames = {
    {"eoi", "statement, whitespace or eoi"},
    {"{", "selector relation operator or {"},
    {"}", "} or ;"},
    {"symbols", "keyword"},
    {"ConstIdentifier", "const identifier"},
    {"Value", "value declaration"},
    {"Attribute", "attribute declaration"},
    {"QuotedString", "string"},
};

namespace {

std::vector<std::size_t> findLineStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            starts.push_back(i + 1);
    }
    return starts;
}

std::vector<std::size_t> findCommentEnds(std::string_view text)
{
    std::vector<std::size_t> ends;
    for (std::size_t at = text.find("*/"); at != std::string_view::npos; at = text.find("*/", at + 1))
        ends.push_back(at);
    return ends;
}

qx::symbol typeOf(const StyleGrammar::tSimpleSelector& simple)
{
    if (simple.typeName == "*")
        return qx::symbol::getEmpty();
    if (simple.templateArgument.empty())
        return qx::symbol(simple.typeName);
    return qx::symbol(simple.typeName + "<" + simple.templateArgument + ">");
}

AttributeConditions conditionsOf(const StyleGrammar::tSimpleSelector& simple)
{
    AttributeConditions conditions;
    for (const auto& attribute : simple.attributes)
        conditions[attribute.name][attribute.rule] = attribute.value;
    return conditions;
}

char stopCharacterOf(StyleGrammar::eRecovery rule)
{
    switch (rule) {
    case StyleGrammar::eAttributeSelector: return ']';
    case StyleGrammar::eDeclaration:
    case StyleGrammar::eStyle: return '}';
    case StyleGrammar::eSelector:
    case StyleGrammar::eStylesheet: break;
    }
    return '\n';
}

// Skips to just after the stop character, ignoring stop characters inside
// comments; the end of the text when there is none.
const char* skipPastStop(const char* from, const char* end, char stop, bool& found)
{
    bool lineComment = false;
    bool blockComment = false;
    found = false;
    for (const char* p = from; p != end; ++p) {
        const char c = *p;
        if (c == '\n')
            lineComment = false;
        if (c == stop && !lineComment && !blockComment) {
            found = true;
            return p + 1;
        }
        if (p + 1 == end)
            break;
        const char next = p[1];
        if (!lineComment && !blockComment) {
            lineComment = c == '/' && next == '/';
            blockComment = c == '/' && next == '*';
        } else if (blockComment && c == '*' && next == '/') {
            blockComment = false;
        }
    }
    return end;
}

}  // namespace

bool StyleGrammar::parse(std::string_view text)
{
    textBegin_ = text.data();
    textEnd_ = text.data() + text.size();
    lineStarts_ = findLineStarts(text);
    commentEnds_ = findCommentEnds(text);
    mark_ = textBegin_;
    styleBoundary_ = textBegin_;
    return runRules(textBegin_, textEnd_);
}

std::string StyleGrammar::describeExpectation(const std::string& tag, const std::string& literal)
{
    const bool isLiteral = tag == "literal-char" || tag == "literal-string";
    const std::string& item = isLiteral ? literal : tag;
    const auto shown = expectationNames.find(item);
    return "Expecting " + (shown != expectationNames.end() ? shown->second : item);
}

std::uint32_t StyleGrammar::lineAt(const char* position) const
{
    const auto offset = static_cast<std::size_t>(position - textBegin_);
    const auto passed = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) - lineStarts_.begin();
    return static_cast<std::uint32_t>(1 + passed);
}

const char* StyleGrammar::blockCommentEnd(const char* position, const char* end) const
{
    if (end - position < 2 || position[0] != '/' || position[1] != '*')
        return nullptr;
    // The body begins after "/*", so "/*/" is no comment.
    const auto bodyOffset = static_cast<std::size_t>(position - textBegin_) + 2;
    const auto close = std::lower_bound(commentEnds_.begin(), commentEnds_.end(), bodyOffset);
    if (close == commentEnds_.end() || textBegin_ + *close + 2 > end)
        return nullptr;
    return textBegin_ + *close + 2;
}

void StyleGrammar::storeType(const char* begin, const char* end)
{
    current_.typeName.assign(begin, end);
    if (chain_.empty() && selectors_.empty()) {
        const std::uint32_t line = lineAt(begin);
        firstLine_ = line > lineAt(styleBoundary_) ? line : 0;
    }
}

void StyleGrammar::endSimpleSelector()
{
    chain_.push_back(std::move(current_));
    current_ = tSimpleSelector();
}

void StyleGrammar::endSelector()
{
    if (!chain_.empty())
        selectors_.push_back(buildSelector(chain_, firstLine_));
    chain_.clear();
    current_.relation = false;
}

void StyleGrammar::endDeclaration()
{
    if (!propertyName_.empty())
        properties_.emplace_back(std::move(propertyValue_.value), qx::symbol(propertyName_), propertyValue_.unit);
    discardDeclaration();
}

void StyleGrammar::endStyle()
{
    if (!selectors_.empty() && !properties_.empty())
        processor_.addStyle(Style{std::move(selectors_), std::move(properties_), firstLine_});
    selectors_.clear();
    properties_.clear();
    firstLine_ = 0;
    // The style rule ends with a mark just after its "}".
    styleBoundary_ = mark_;
}

std::uint32_t StyleGrammar::makeColor(const std::vector<std::uint32_t>& components, bool withAlpha)
{
    if (components.size() != (withAlpha ? 4u : 3u)) {
        reportError(mark_, "invalid color declaration");
        return 0;
    }
    const std::uint32_t alpha = withAlpha ? (components[3] & 0xFF) : 0xFF;
    return alpha << 24 | (components[0] & 0xFF) << 16 | (components[1] & 0xFF) << 8 | (components[2] & 0xFF);
}

StyleParser2::tPropertyValue StyleGrammar::getConstant(const std::string& name)
{
    return processor_.getConstant(name, lineAt(mark_));
}

void StyleGrammar::defineConstant(const StyleParser2::tConstant& constant)
{
    processor_.defineConstant(lineAt(mark_), constant);
}

void StyleGrammar::importStylesheet(const std::string& fileName)
{
    processor_.importStylesheet(lineAt(mark_), fileName);
}

void StyleGrammar::reportError(const char* position, const std::string& message)
{
    processor_.reportParserError(lineAt(position), message);
}

const char* StyleGrammar::recover(eRecovery rule, const char* errorPosition, const char* end,
                                  const std::string& message)
{
    reportError(errorPosition, message);
    bool found = false;
    const char* resume = skipPastStop(errorPosition, end, stopCharacterOf(rule), found);
    // A declaration leaves the "}" for its style to read.
    if (rule == eDeclaration && found)
        --resume;

    switch (rule) {
    case eAttributeSelector:
        // Only a condition read whole was stored.
        break;
    case eSelector:
        // A selector cut short would match more widgets than written.
        discardSimpleSelector();
        chain_.clear();
        break;
    case eDeclaration:
        discardDeclaration();
        break;
    case eStyle:
        discardStyle();
        styleBoundary_ = resume;
        break;
    case eStylesheet:
        discardStyle();
        // The skipped line end separates the next style from the error.
        styleBoundary_ = errorPosition;
        break;
    }
    return resume;
}

void StyleGrammar::discardSimpleSelector() { current_ = tSimpleSelector(); }

void StyleGrammar::discardDeclaration()
{
    propertyName_.clear();
    propertyValue_ = {PropertyVariant(std::in_place_type<bool>, false), Property::eNumber};
}

void StyleGrammar::discardStyle()
{
    discardSimpleSelector();
    discardDeclaration();
    chain_.clear();
    selectors_.clear();
    properties_.clear();
    firstLine_ = 0;
}

Selector StyleGrammar::buildSelector(const std::vector<tSimpleSelector>& chain, std::uint32_t firstLine) const
{
    Selector selector;
    selector.sourceName = sourceSymbol_;
    selector.line = firstLine;
    if (chain.empty())
        return selector;

    const tSimpleSelector& subject = chain.back();
    selector.type = typeOf(subject);
    selector.styleClass = qx::symbol(subject.styleClass);
    selector.name = qx::symbol(subject.elementName);
    selector.attributes = conditionsOf(subject);
    for (const auto& state : subject.states) {
        // A name that is no state adds no condition.
        if (const auto index = findStateIndex(state.name))
            selector.states.set(*index, state.negated ? StateConditions::eMustNotHold : StateConditions::eMustHold);
    }
    for (std::size_t i = chain.size() - 1; i-- > 0;) {
        const tSimpleSelector& ancestor = chain[i];
        selector.ancestors.push_back({typeOf(ancestor), qx::symbol(ancestor.styleClass),
                                      qx::symbol(ancestor.elementName), conditionsOf(ancestor),
                                      chain[i + 1].relation});
    }
    return selector;
}

}  // namespace QX::NWL
