#include "nwl/style/StyleParser2.h"

#include <algorithm>

#include <fmt/format.h>

#include "gp/Text.h"
#include "nwl/style/ErrorHandlers.h"
#include "nwl/style/StyleGrammar.h"

namespace QX::NWL {

namespace {

const char* const kProcessStringSource = "(StyleParser2::processString)";

// Empties the caches of a sheet at the end of a load, whatever its outcome.
class ClearCachesOnExit {
public:
    explicit ClearCachesOnExit(StyleSheet& sheet) : sheet_(sheet) {}
    ~ClearCachesOnExit() { sheet_.clearCaches(); }
    ClearCachesOnExit(const ClearCachesOnExit&) = delete;
    ClearCachesOnExit& operator=(const ClearCachesOnExit&) = delete;

private:
    StyleSheet& sheet_;
};

}  // namespace

StyleParser2::StyleParser2(StyleSheet& owner) : owner_(owner) {}

bool StyleParser2::processString(StyleSheet& sheet, const char* text, const StyleSheet::tDeriveProperties& derive)
{
    ClearCachesOnExit clearCaches(sheet);
    StyleParser2 parser(sheet);
    if (!parser.parseDetected(text ? std::string_view(text) : std::string_view(), kProcessStringSource))
        return false;
    sheet.buildRuleIndex(parser.styles_, derive);
    return true;
}

bool StyleParser2::loadStylesheet(StyleSheet& sheet, const std::shared_ptr<GP::Stream>& stream,
                                  const std::string& name, const StyleSheet::tDeriveProperties& derive)
{
    ClearCachesOnExit clearCaches(sheet);
    if (!stream)
        return false;
    StyleParser2 parser(sheet);
    // The sheet's own reports name it, as those of an imported file do.
    parser.currentPath_ = GP::Path(name);
    if (!parser.parseOpenSheet(*stream, importKey(parser.currentPath_), name))
        return false;
    sheet.buildRuleIndex(parser.styles_, derive);
    sheet.setImported(parser.imported_);
    return true;
}

bool StyleParser2::parseStream(GP::Stream& stream, const std::string& sourceName)
{
    if (!stream.seek(0, GP::kSeekEnd))
        return false;
    const std::int64_t size = stream.tell();
    if (size < 0 || !stream.seek(0, GP::kSeekStart))
        return false;
    std::string buffer(static_cast<std::size_t>(size), '\0');
    buffer.resize(stream.read(buffer.data(), buffer.size()));
    return parseDetected(buffer, sourceName);
}

bool StyleParser2::parseOpenSheet(GP::Stream& stream, const std::string& key, const std::string& sourceName)
{
    openSheets_.push_back(key);
    const bool parsed = parseStream(stream, sourceName);
    openSheets_.pop_back();
    return parsed;
}

bool StyleParser2::parseDetected(std::string_view buffer, const std::string& sourceName)
{
    encoding_ = detectEncoding(buffer);
    return parseBuffer(buffer, sourceName);
}

bool StyleParser2::parseBuffer(std::string_view buffer, const std::string& sourceName)
{
    if (encoding_ > eUTF8) {
        reportErrorInCurrentFile(0, "Unsupported buffer encoding");
        return false;
    }
    StyleGrammar grammar(*this, sourceName);
    buffer.remove_prefix(std::min(getMarkLength(encoding_), buffer.size()));
    return grammar.parse(buffer);
}

bool StyleParser2::parseFile(const GP::Path& path)
{
    std::shared_ptr<GP::Stream> stream;
    if (opener_) {
        stream = opener_(path);
    } else {
        auto file = std::make_shared<GP::FileStream>();
        if (file->open(path))
            stream = std::move(file);
    }
    if (!stream)
        return false;
    currentPath_ = path;
    return parseOpenSheet(*stream, importKey(path), GP::copyIfAscii(path.fileName()));
}

std::string StyleParser2::importKey(const GP::Path& path)
{
    std::string key = path.toString();
    std::replace(key.begin(), key.end(), '/', '\\');
    return key;
}

void StyleParser2::importStylesheet(std::uint32_t line, const std::string& fileName)
{
    if (importDepth_ >= kMaxImportDepth) {
        reportParserError(line, "imports nested too deeply to import stylesheet " + fileName);
        return;
    }
    const GP::Path path(fileName);
    const std::string key = importKey(path);
    const bool open = std::find(openSheets_.begin(), openSheets_.end(), key) != openSheets_.end();
    if (open || !imported_.insert(key).second) {
        reportParserError(line, "recursive import of stylesheet " + fileName);
        return;
    }
    const GP::Path savedPath = currentPath_;
    const eEncoding savedEncoding = encoding_;
    ++importDepth_;
    const bool parsed = parseFile(path);
    --importDepth_;
    currentPath_ = savedPath;
    encoding_ = savedEncoding;
    if (!parsed) {
        reportParserError(line, "Failed to import stylesheet " + fileName);
        // A later import of the same file is tried again.
        imported_.erase(key);
    }
}

void StyleParser2::defineConstant(std::uint32_t line, const tConstant& constant)
{
    if (constants_.contains(constant.name)) {
        reportParserError(line, "constant already defined");
        return;
    }
    constants_.emplace(constant.name, constant.value);
}

StyleParser2::tPropertyValue StyleParser2::getConstant(const std::string& name, std::uint32_t line)
{
    tPropertyValue value;
    if (findConstant(name, value))
        return value;
    reportParserError(line, "use of undefined constant " + name);
    return {PropertyVariant(std::in_place_type<std::int32_t>, 0), Property::eNumber};
}

bool StyleParser2::findConstant(const std::string& name, tPropertyValue& value) const
{
    const auto found = constants_.find(name);
    if (found == constants_.end())
        return false;
    value = found->second;
    return true;
}

void StyleParser2::addStyle(Style style) { styles_.push_back(std::move(style)); }

void StyleParser2::reportError(const std::string& sourceName, std::uint32_t line, const std::string& message)
{
    // The first message of a line is kept; every message is passed on.
    errors_[sourceName].emplace(line, message);
    NWL::reportError(fmt::format("Stylesheet error: {0}:{1} - {2}", sourceName, line, message));
}

void StyleParser2::reportErrorInCurrentFile(std::uint32_t line, const std::string& message)
{
    reportError(currentPath_.toString(), line, message);
}

void StyleParser2::reportParserError(std::uint32_t line, const std::string& text)
{
    reportErrorInCurrentFile(line, fmt::format("PARSER ERROR at line {}: {}", line, text));
}

StyleParser2::eEncoding StyleParser2::detectEncoding(std::string_view buffer)
{
    if (buffer.size() < 4)
        return eNoMark;
    const auto byte = [&buffer](std::size_t i) { return static_cast<unsigned char>(buffer[i]); };
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return eUTF8;
    if (byte(0) == 0xFE && byte(1) == 0xFF)
        return eUTF16BE;
    if (byte(0) == 0xFF && byte(1) == 0xFE)
        return byte(2) == 0 && byte(3) == 0 ? eUTF32LE : eUTF16LE;
    if (byte(0) == 0 && byte(1) == 0 && byte(2) == 0xFE && byte(3) == 0xFF)
        return eUTF32BE;
    return eNoMark;
}

std::size_t StyleParser2::getMarkLength(eEncoding encoding)
{
    static const std::map<eEncoding, std::size_t> lengths = {
        {eNoMark, 0}, {eUTF8, 3}, {eUTF16BE, 2}, {eUTF16LE, 2}, {eUTF32BE, 4}, {eUTF32LE, 4},
    };
    const auto found = lengths.find(encoding);
    return found != lengths.end() ? found->second : 0;
}

}  // namespace QX::NWL
