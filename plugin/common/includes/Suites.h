// The host's suites the plug-in works with: acquired at start-up into one
// process-wide pointer each, released at shutdown or unload.
#pragma once

#include "ASMemory.h"
#include "SPBasic.h"

/// The basic suite, stored by the entry from every message.
extern SPBasicSuite* sSPBasic;

/// One suite to acquire: its name, version and the pointer that receives it.
struct ImportSuite {
    const char* name;
    ASInt32 version;
    const void** suite;
};

/// Version of the end entry that announces optional suites after it.
constexpr ASInt32 kOptionalSuitesMarker = ASFourCC("OPTS");

/// Acquired first, then the import list; each list ends with an entry without name.
extern ImportSuite gBasicSuites[];
extern ImportSuite gImportSuites[];

class Suites : public ASMemoryObject {
public:
    /// Acquires every suite; Error() tells how it went.
    Suites();
    /// Releases them when the last owner goes.
    ~Suites();

    ASErr Error() const { return fError; }
    /// The owner's count: 1, whatever the acquisition gave.
    void InitializeRefCount() { fAcquiredCount = 1; }
    /// Acquires each optional suite not yet held.
    void acquire_Optional_Suites();

private:
    ASErr AcquireSuites();
    ASErr AcquireSuite(ImportSuite* entry);
    ASErr ReleaseSuites();
    ASErr ReleaseSuite(ImportSuite* entry);

    ASErr fError;
    ASUInt16 fRequiredSuitesCount = 0;
    ASUInt16 fOptionalSuitesTotalCount = 0;
    ASUInt16 fOptionalSuitesAcquiredCount = 0;
    static ASUInt16 fAcquiredCount;
};
