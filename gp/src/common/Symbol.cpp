#include "gp/Symbol.h"

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>

namespace qx {
namespace {

// The process-wide table. Built on first use (so static initialisers of
// other files may make symbols) and deliberately never destroyed: symbols
// held by static objects stay valid during static destruction.
// Looked up by string_view, so that finding a text already interned (the
// usual case) makes no string.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct SymbolTable {
    std::mutex mutex;
    std::unordered_set<std::string, TextHash, std::equal_to<>> texts;
};

SymbolTable& table()
{
    static SymbolTable* instance = new SymbolTable;
    return *instance;
}

}  // namespace

const std::string* symbol::intern(std::string_view text)
{
    SymbolTable& t = table();
    std::lock_guard lock(t.mutex);
    // Nodes of an unordered_set never move, so their addresses identify them.
    const auto found = t.texts.find(text);
    return found != t.texts.end() ? &*found : &*t.texts.emplace(text).first;
}

symbol::symbol() : node_(getEmpty().node_) {}

symbol::symbol(const char* text, std::size_t length)
    : node_(intern(text ? std::string_view(text, length) : std::string_view()))
{
}

symbol::symbol(std::string_view text) : node_(intern(text)) {}

symbol::symbol(const char* nulTerminated)
    : node_(intern(nulTerminated ? std::string_view(nulTerminated) : std::string_view()))
{
}

symbol symbol::getEmpty()
{
    static const symbol empty(std::string_view{});
    return empty;
}

bool symbol::equals(const char* nulTerminated) const
{
    return nulTerminated && *node_ == nulTerminated;
}

}  // namespace qx
