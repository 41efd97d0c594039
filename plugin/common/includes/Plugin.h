// The frame of a plug-in: one object, created at start-up and destroyed at
// shutdown, whose Message turns each (caller, selector) pair of its table into
// one virtual operation; any other message is unhandled.
#pragma once

#include "AIMessages.h"
#include "ASMemory.h"
#include "Suites.h"

class Plugin : public ASMemoryObject {
public:
    explicit Plugin(SPPluginRef pluginRef);
    virtual ~Plugin();

    virtual void ReportError(ASErr error, const char* caller, const char* selector, void* message);
    virtual ASErr LockPlugin(ASBoolean lock);

    virtual ASErr StartupPlugin(SPInterfaceMessage* message);
    virtual ASErr PostStartupPlugin();
    virtual ASErr ShutdownPlugin(SPInterfaceMessage* message);
    virtual ASErr UnloadPlugin(SPInterfaceMessage* message);
    virtual ASErr ReloadPlugin(SPInterfaceMessage* message);
    /// Copies the name into buffer, never more than length bytes with the terminating zero.
    virtual void GetPluginName(char* buffer, int length);
    virtual ASErr About(SPInterfaceMessage* message);
    virtual ASBoolean Purge() { return false; }
    virtual ASErr Message(const char* caller, const char* selector, void* message);
    virtual ASErr SetGlobal(Plugin*) { return kNoErr; }
    virtual ASErr AllocateSuiteTables() { return kNoErr; }
    virtual ASErr FillSuiteTables() { return kNoErr; }
    virtual ASErr EmptySuiteTables() { return kNoErr; }
    virtual void AcquireOptionalSuites();

    // The messages the frame dispatches, one operation each; by default a plug-in handles none.
    virtual ASErr Notify(AINotifierMessage*) { return kNoErr; }
    virtual ASErr GoAction(DoActionMessage*) { return kNoErr; }
    virtual ASErr GoMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
    virtual ASErr UpdateMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
    virtual ASErr EditTool(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr TrackToolCursor(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ToolMouseDown(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ToolMouseDrag(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ToolMouseUp(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ToolKeyDown(AIToolKeyMessage*) { return kUnhandledMsgErr; }
    virtual ASErr SelectTool(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr DeselectTool(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr DrawAnnotation(AIAnnotatorMessage*) { return kUnhandledMsgErr; }

    bool SuitesAcquired() const { return fSuites != nullptr; }
    SPPluginRef GetPluginRef() const { return fPluginRef; }

    static bool IsReloadMsg(const char* caller, const char* selector);
    static bool FilterError(ASErr error);
    /// The message of string list 16050 for the code, in buffer; null when the list has none.
    static char* FindMsg(SPPluginRef pluginRef, ASErr error, char* buffer, int length);
    /// Shows the alert for a failure that happened without a plug-in object.
    static void DefaultError(SPPluginRef pluginRef, ASErr error);

protected:
    static constexpr int kMaxStringLength = 256;

    SPPluginRef fPluginRef;
    char fPluginName[kMaxStringLength];
    Suites* fSuites = nullptr;
    ASInt32 fLockCount = 0;
    SPAccessRef fPluginAccess = nullptr;
    AINotifierHandle fAppStartedNotifier = nullptr;
};

/// A new plug-in object in the host's memory, or null when the allocation fails.
Plugin* AllocatePlugin(SPPluginRef pluginRef);
/// Puts the object's dispatch back in order after the host reloaded the plug-in's code.
void FixupReload(Plugin* plugin);
