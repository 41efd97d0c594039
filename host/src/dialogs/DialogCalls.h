// Helpers of the dialog manager's files: the kinds of items and the copying of texts.
#pragma once

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "ADMDialog.h"

namespace host::dialogcalls {

inline bool isOneOf(const std::string& type, std::initializer_list<const char*> types) {
    return std::any_of(types.begin(), types.end(), [&](const char* known) { return type == known; });
}

inline bool isKnownType(const std::string& type) {
    return isOneOf(type, {kADMPictureStaticType, kADMPicturePushButtonType, kADMSpinEditType, kADMSpinEditPopupType,
                          kADMTextStaticType, kADMTextStaticMultiLineType, kADMTextPushButtonType, kADMTextCheckBoxType,
                          kADMPopupListType, kADMPopupMenuType});
}
inline bool hasList(const std::string& type) {
    return isOneOf(type, {kADMSpinEditPopupType, kADMPopupListType, kADMPopupMenuType});
}
/// Items a person types into.
inline bool isField(const std::string& type) {
    return isOneOf(type, {kADMSpinEditType, kADMSpinEditPopupType});
}
/// Items whose text is their value once they are given one; the others' text is a label.
inline bool canShowValue(const std::string& type) {
    return isField(type) || isOneOf(type, {kADMTextStaticType, kADMTextStaticMultiLineType});
}
inline bool isPushButton(const std::string& type) {
    return isOneOf(type, {kADMTextPushButtonType, kADMPicturePushButtonType});
}

/// text into a plug-in's buffer of maxLength bytes with the terminating zero, cut when longer.
inline void copyText(const std::string& text, char* buffer, ASInt32 maxLength) {
    if (!buffer || maxLength <= 0) return;
    std::size_t length = std::min(text.size(), static_cast<std::size_t>(maxLength - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace host::dialogcalls
