#include "IccProfile.h"

#include <cstring>

namespace QX::UIA::DETAIL {
namespace {

constexpr unsigned kIccMarker = JPEG_APP0 + 2;
constexpr unsigned kIccHeaderLength = 14;  // identifier with its zero, sequence number, count
constexpr char kIccIdentifier[12] = "ICC_PROFILE";

bool isIccMarker(const jpeg_saved_marker_ptr marker) {
    return marker->marker == kIccMarker && marker->data_length >= kIccHeaderLength &&
           std::memcmp(marker->data, kIccIdentifier, sizeof kIccIdentifier) == 0;
}

}  // namespace

bool assembleIccProfile(const jpeg_decompress_struct& decompressor, std::vector<std::uint8_t>& profile,
                        bool& found) {
    profile.clear();
    found = false;
    // Indexed by sequence number; a count is at most 255.
    jpeg_saved_marker_ptr pieces[256] = {};
    unsigned count = 0;
    for (jpeg_saved_marker_ptr marker = decompressor.marker_list; marker; marker = marker->next) {
        if (!isIccMarker(marker)) {
            continue;
        }
        found = true;
        const unsigned sequence = marker->data[12];
        const unsigned total = marker->data[13];
        if (count == 0) {
            count = total;
        }
        if (total != count || sequence < 1 || sequence > count || pieces[sequence]) {
            return false;
        }
        pieces[sequence] = marker;
    }
    if (count == 0) {
        return false;
    }
    for (unsigned sequence = 1; sequence <= count; ++sequence) {
        if (!pieces[sequence]) {
            profile.clear();
            return false;
        }
        const std::uint8_t* data = pieces[sequence]->data + kIccHeaderLength;
        profile.insert(profile.end(), data, data + (pieces[sequence]->data_length - kIccHeaderLength));
    }
    return !profile.empty();
}

}  // namespace QX::UIA::DETAIL
