#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace QX::Testing {

inline std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string readFileText(const std::string& path) {
    const auto bytes = readFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

inline std::string picturePath(const std::string& name) {
    return std::string(QX_TEST_PICTURE_DIR) + "/" + name;
}

}  // namespace QX::Testing
