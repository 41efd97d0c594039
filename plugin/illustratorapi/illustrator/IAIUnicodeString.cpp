#include "IAIUnicodeString.h"

#include "IThrowException.h"
#include "OrvaneSuites.h"

namespace ai {

UnicodeString::UnicodeString(const char* text, AICharacterEncoding encoding) {
    check_result(sAIUnicodeString->Initialize(text, -1, encoding, &fHandle));
}

UnicodeString::~UnicodeString() {
    sAIUnicodeString->Dispose(fHandle);
}

}  // namespace ai
