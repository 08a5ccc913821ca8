#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qx {

// An interned string: one node per distinct text in a process-wide table,
// made under the table's mutex on first use and never freed while the
// process runs. Two symbols name the same text exactly when they hold the
// same node, so comparison is by identity. Safe to make from static
// initialisers of any file and from any thread.
class symbol {
public:
    // The empty symbol.
    symbol();
    symbol(const char* text, std::size_t length);
    explicit symbol(std::string_view text);
    explicit symbol(const char* nulTerminated);

    static symbol getEmpty();

    // The interned text (stays valid for the life of the process).
    const std::string& str() const { return *node_; }
    const char* c_str() const { return node_->c_str(); }
    bool empty() const { return node_->empty(); }
    bool equals(const char* nulTerminated) const;

    friend bool operator==(symbol a, symbol b) { return a.node_ == b.node_; }
    friend bool operator!=(symbol a, symbol b) { return a.node_ != b.node_; }
    // Orders by node address: stable within one process, not alphabetical.
    friend bool operator<(symbol a, symbol b) { return std::less<const std::string*>()(a.node_, b.node_); }

    std::size_t hash() const { return std::hash<const void*>()(node_); }

private:
    static const std::string* intern(std::string_view text);
    const std::string* node_;
};

}  // namespace qx

template <>
struct std::hash<qx::symbol> {
    std::size_t operator()(qx::symbol s) const noexcept { return s.hash(); }
};
