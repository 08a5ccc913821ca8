#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nwl/style/ErrorHandlers.h"
#include "nwl/style/StyleParser2.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL::Testing {

// Collects what reaches the error handlers while it lives.
class ErrorCapture {
public:
    ErrorCapture() : id_(addErrorHandler([this](const std::string& m) { messages.push_back(m); })) {}
    ~ErrorCapture() { removeErrorHandler(id_); }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    std::vector<std::string> messages;

private:
    std::size_t id_;
};

struct ParseOutcome {
    bool matched = false;
    std::vector<Style> styles;
    // The parser's own texts ("PARSER ERROR at line ..."), in report order.
    std::vector<std::string> errors;
    StyleParser2::tErrors errorMap;
};

// Parses a text as one style sheet, byte-order mark detection included.
inline ParseOutcome parseText(std::string_view text)
{
    StyleSheet sheet;
    StyleParser2 parser(sheet);
    ErrorCapture capture;
    ParseOutcome outcome;
    parser.setEncoding(StyleParser2::detectEncoding(text));
    outcome.matched = parser.parseBuffer(text, "test");
    outcome.styles = parser.getStyles();
    outcome.errorMap = parser.getErrors();
    for (const auto& message : capture.messages) {
        const auto dash = message.find(" - ");
        outcome.errors.push_back(dash == std::string::npos ? message : message.substr(dash + 3));
    }
    return outcome;
}

inline qx::symbol sym(const char* text) { return qx::symbol(text); }

inline PropertyVariant integer(std::int32_t v) { return PropertyVariant(std::in_place_type<std::int32_t>, v); }
inline PropertyVariant real(float v) { return PropertyVariant(std::in_place_type<float>, v); }
inline PropertyVariant color(std::uint32_t v) { return PropertyVariant(std::in_place_type<std::uint32_t>, v); }
inline PropertyVariant text(const char* v) { return PropertyVariant(std::in_place_type<std::string>, v); }
inline PropertyVariant boolean(bool v) { return PropertyVariant(std::in_place_type<bool>, v); }

// A sheet and the first message its parse reports; each test unit
// instantiates the suite with its own table.
struct ErrorCase {
    const char* sheet;
    const char* message;
};

class SyntaxErrorTest : public ::testing::TestWithParam<ErrorCase> {};

}  // namespace QX::NWL::Testing
