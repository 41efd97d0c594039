#include "Suites.h"

SPBasicSuite* sSPBasic = nullptr;
ASUInt16 Suites::fAcquiredCount = 0;

namespace {

/// The optional entries, after the end entry of the import list when it says so.
ImportSuite* OptionalSuites() {
    ImportSuite* entry = gImportSuites;
    while (entry->name) ++entry;
    return entry->version == kOptionalSuitesMarker ? entry + 1 : nullptr;
}

}  // namespace

Suites::Suites() : fError(AcquireSuites()) {
    for (ImportSuite* entry = gImportSuites; entry->name; ++entry) ++fRequiredSuitesCount;
    if (ImportSuite* optional = OptionalSuites())
        for (; optional->name; ++optional) ++fOptionalSuitesTotalCount;
    if (fError == kNoErr) acquire_Optional_Suites();
}

Suites::~Suites() {
    if (fAcquiredCount > 0) --fAcquiredCount;
    if (fAcquiredCount == 0) ReleaseSuites();
}

ASErr Suites::AcquireSuites() {
    if (fAcquiredCount != 0) {
        ++fAcquiredCount;
        return kNoErr;
    }
    for (ImportSuite* entry = gBasicSuites; entry->name; ++entry)
        if (ASErr error = AcquireSuite(entry)) return error;
    for (ImportSuite* entry = gImportSuites; entry->name; ++entry)
        if (ASErr error = AcquireSuite(entry)) return error;
    ++fAcquiredCount;
    return kNoErr;
}

ASErr Suites::AcquireSuite(ImportSuite* entry) {
    if (!entry->suite) return kNoErr;
    if (!sSPBasic) return kSPSuiteNotFoundError;
    return sSPBasic->AcquireSuite(entry->name, entry->version, entry->suite);
}

void Suites::acquire_Optional_Suites() {
    ImportSuite* optional = OptionalSuites();
    if (!optional) return;
    for (; optional->name; ++optional)
        if (optional->suite && !*optional->suite && AcquireSuite(optional) == kNoErr) ++fOptionalSuitesAcquiredCount;
}

ASErr Suites::ReleaseSuites() {
    ASErr error = kNoErr;
    for (ImportSuite* entry = gBasicSuites; entry->name && !error; ++entry) error = ReleaseSuite(entry);
    for (ImportSuite* entry = gImportSuites; entry->name && !error; ++entry) error = ReleaseSuite(entry);
    if (ImportSuite* optional = OptionalSuites())
        for (; optional->name && fOptionalSuitesAcquiredCount > 0; ++optional)
            if (optional->suite && *optional->suite && ReleaseSuite(optional) == kNoErr) --fOptionalSuitesAcquiredCount;
    return error;
}

ASErr Suites::ReleaseSuite(ImportSuite* entry) {
    if (!entry->suite || !*entry->suite) return kNoErr;
    ASErr error = sSPBasic ? sSPBasic->ReleaseSuite(entry->name, entry->version) : kSPSuiteNotFoundError;
    *entry->suite = nullptr;
    return error;
}
