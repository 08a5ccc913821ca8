#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "gp/Path.h"
#include "gp/Stream.h"
#include "nwl/style/Property.h"
#include "nwl/style/Style.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL {

// The built-in style sheet that the widget library parses at start.
extern const char* const defaultStylesheetText;

// Reads one style sheet (text, stream or file) with its imports and
// constants into a style sheet object. One parser serves one load.
class StyleParser2 {
public:
    struct tPropertyValue {
        PropertyVariant value;
        Property::eUnit unit = Property::eNumber;
    };
    struct tAttrSelector {
        qx::symbol name;
        AttibuteSelector::eRule rule = AttibuteSelector::eAny;
        std::string value;
    };
    struct tStateSelector {
        bool negated = false;
        qx::symbol name;
    };
    struct tConstant {
        std::string name;
        tPropertyValue value;
    };

    enum eEncoding : int {
        eNoMark = 0,
        eUTF8 = 1,
        eUTF16BE = 2,
        eUTF16LE = 3,
        eUTF32BE = 4,
        eUTF32LE = 5,
    };

    using tErrors = std::map<std::string, std::map<std::uint32_t, std::string>>;
    // Opens the sheet at a path; null when it cannot be opened.
    using tSheetOpener = std::function<std::shared_ptr<GP::Stream>(const GP::Path&)>;

    // Imports nest at most this deep: each level costs stack.
    static constexpr std::size_t kMaxImportDepth = 16;

    explicit StyleParser2(StyleSheet& owner);
    StyleParser2(const StyleParser2&) = delete;
    StyleParser2& operator=(const StyleParser2&) = delete;

    // Parses a text held in memory into `sheet`; on success its rules are
    // replaced. The caches are cleared either way.
    static bool processString(StyleSheet& sheet, const char* text,
                              const StyleSheet::tDeriveProperties& derive = {});
    // Parses a stream under `name` into `sheet`; on success its rules and
    // imported set are replaced. The caches are cleared either way.
    static bool loadStylesheet(StyleSheet& sheet, const std::shared_ptr<GP::Stream>& stream, const std::string& name,
                               const StyleSheet::tDeriveProperties& derive = {});

    bool parseStream(GP::Stream& stream, const std::string& sourceName);
    // Parses text whose mark was detected into the encoding field.
    bool parseBuffer(std::string_view buffer, const std::string& sourceName);
    bool parseFile(const GP::Path& path);
    // Where parseFile (and so every import) reads sheets from; the file
    // system unless set.
    void setSheetOpener(tSheetOpener opener) { opener_ = std::move(opener); }

    // Actions of the grammar.
    void importStylesheet(std::uint32_t line, const std::string& fileName);
    void defineConstant(std::uint32_t line, const tConstant& constant);
    tPropertyValue getConstant(const std::string& name, std::uint32_t line);
    bool findConstant(const std::string& name, tPropertyValue& value) const;
    void addStyle(Style style);

    void reportError(const std::string& sourceName, std::uint32_t line, const std::string& message);
    void reportErrorInCurrentFile(std::uint32_t line, const std::string& message);
    // A syntax or content error of the current file: "PARSER ERROR at line
    // N: " and the text.
    void reportParserError(std::uint32_t line, const std::string& text);

    // The encoding of a buffer by its byte-order mark.
    static eEncoding detectEncoding(std::string_view buffer);
    static std::size_t getMarkLength(eEncoding encoding);

    StyleSheet& getOwner() const { return owner_; }
    const std::vector<Style>& getStyles() const { return styles_; }
    const tErrors& getErrors() const { return errors_; }
    const std::set<std::string>& getImported() const { return imported_; }
    eEncoding getEncoding() const { return encoding_; }
    void setEncoding(eEncoding encoding) { encoding_ = encoding; }
    const GP::Path& getCurrentPath() const { return currentPath_; }

private:
    bool parseDetected(std::string_view buffer, const std::string& sourceName);
    // Parses a stream as the sheet named by `key` (see importKey).
    bool parseOpenSheet(GP::Stream& stream, const std::string& key, const std::string& sourceName);
    // The text under which a sheet's path is remembered.
    static std::string importKey(const GP::Path& path);

    StyleSheet& owner_;
    std::vector<Style> styles_;
    std::map<std::string, tPropertyValue> constants_;
    tErrors errors_;
    eEncoding encoding_ = eNoMark;
    GP::Path currentPath_;
    std::set<std::string> imported_;
    tSheetOpener opener_;
    // The sheets being read, outermost first: importing one of them again
    // would read it inside itself.
    std::vector<std::string> openSheets_;
    std::size_t importDepth_ = 0;
};

}  // namespace QX::NWL
