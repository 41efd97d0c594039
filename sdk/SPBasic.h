// The basic suite that comes with every message, the common message data and
// the SP suites of the plug-in manager.
#pragma once

#include "ASTypes.h"

constexpr const char* kSPBasicSuite = "SP Basic Suite";
constexpr ASInt32 kSPBasicSuiteVersion = 4;

struct SPBasicSuite {
    /// Fills *suite with the table registered under name and version; 'S!Fd' when there is none.
    ASErr (*AcquireSuite)(const char* name, ASInt32 version, const void** suite);
    /// Gives back one acquisition of the suite.
    ASErr (*ReleaseSuite)(const char* name, ASInt32 version);
    /// True when the two strings are equal.
    ASBoolean (*IsEqual)(const char* token1, const char* token2);
    /// A block of size bytes from the host's allocator; '!MEM' and a null block when it fails.
    ASErr (*AllocateBlock)(std::size_t size, void** block);
    /// Frees a block of AllocateBlock; a null block is ignored.
    ASErr (*FreeBlock)(void* block);
    /// Resizes a block; '!MEM' and the old block kept when it fails.
    ASErr (*ReallocateBlock)(void* block, std::size_t newSize, void** newBlock);
    /// Answers every call the host does not implement.
    ASErr (*Undefined)();
};

/// The common head of every message record.
struct SPMessageData {
    SPPluginRef self;     ///< the host's reference of the plug-in
    void* globals;        ///< kept by the host between calls; the plug-in reads and writes it
    SPBasicSuite* basic;  ///< the basic suite
};

constexpr const char* kSPInterfaceCaller = "SP Interface";
constexpr const char* kSPInterfaceStartupSelector = "Startup";
constexpr const char* kSPInterfaceShutdownSelector = "Shutdown";
constexpr const char* kSPInterfaceAboutSelector = "About";

constexpr const char* kSPAccessCaller = "SP Access";
constexpr const char* kSPAccessUnloadSelector = "Unload";
constexpr const char* kSPAccessReloadSelector = "Reload";

constexpr const char* kSPCacheCaller = "SP Cache";
constexpr const char* kSPPluginPurgeCachesSelector = "Plug-in Purge";

constexpr const char* kSPPropertiesCaller = "SP Properties";
constexpr const char* kSPPropertiesAcquireSelector = "Acquire";
constexpr const char* kSPPropertiesReleaseSelector = "Release";

struct SPInterfaceMessage {
    SPMessageData d;
};

struct SPPropertiesMessage {
    SPMessageData d;
    ASInt32 vendorID;
    ASInt32 propertyKey;
    ASInt32 propertyID;
    void* property;
    ASBoolean refCon;
};

struct SPAccess;
using SPAccessRef = SPAccess*;

constexpr const char* kSPAccessSuite = "SP Access Suite";
constexpr ASInt32 kSPAccessSuiteVersion = 3;

struct SPAccessSuite {
    /// Keeps the plug-in loaded until the access is released.
    ASErr (*AcquirePlugin)(SPPluginRef plugin, SPAccessRef* access);
    ASErr (*ReleasePlugin)(SPAccessRef access);
    /// The plug-in's current access, acquiring none.
    ASErr (*GetPluginAccess)(SPPluginRef plugin, SPAccessRef* access);
};

constexpr const char* kSPPluginsSuite = "SP Plug-ins Suite";
constexpr ASInt32 kSPPluginsSuiteVersion = 4;

struct SPPluginsSuite {
    ASErr (*SetPluginName)(SPPluginRef plugin, const char* name);
    ASErr (*GetPluginName)(SPPluginRef plugin, const char** name);
};

constexpr const char* kSPBlocksSuite = "SP Blocks Suite";
constexpr ASInt32 kSPBlocksSuiteVersion = 2;
