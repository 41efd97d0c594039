// The frame of a plug-in: one object, created at start-up and destroyed at
// shutdown, whose Message turns each (caller, selector) pair from the host into
// one virtual operation.
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
    virtual ASErr AcquireProperty(SPPropertiesMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ReleaseProperty(SPPropertiesMessage*) { return kUnhandledMsgErr; }
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

    virtual ASErr Notify(AINotifierMessage*) { return kNoErr; }
    virtual ASErr GoAction(DoActionMessage*) { return kNoErr; }
    virtual ASErr GoMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
    virtual ASErr UpdateMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
    virtual ASErr GetFilterParameters(AIFilterMessage*) { return kUnhandledMsgErr; }
    virtual ASErr GoFilter(AIFilterMessage*) { return kUnhandledMsgErr; }
    virtual ASErr PluginGroupNotify(AIPluginGroupMessage*) { return kUnhandledMsgErr; }
    virtual ASErr PluginGroupUpdate(AIPluginGroupMessage*) { return kUnhandledMsgErr; }
    virtual ASErr GetFileFormatParameters(AIFileFormatMessage*) { return kUnhandledMsgErr; }
    virtual ASErr GoFileFormat(AIFileFormatMessage*) { return kUnhandledMsgErr; }
    virtual ASErr CheckFileFormat(AIFileFormatMessage*) { return kUnhandledMsgErr; }
    virtual ASErr FileFormatUpdate(AIUpdateFileFormatMessage*) { return kUnhandledMsgErr; }
    virtual ASErr SetFileFormatParameters(DoActionMessage*) { return kUnhandledMsgErr; }
    virtual ASErr EditTool(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr TrackToolCursor(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ToolMouseDown(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ToolMouseDrag(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ToolMouseUp(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr SelectTool(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr DeselectTool(AIToolMessage*) { return kUnhandledMsgErr; }
    virtual ASErr ReselectTool(AIToolMessage*) { return kNoErr; }
    virtual ASErr DecreaseDiameter(AIToolMessage*) { return kNoErr; }
    virtual ASErr IncreaseDiameter(AIToolMessage*) { return kNoErr; }
    virtual ASErr EditLiveEffectParameters(AILiveEffectEditParamMessage*) { return kUnhandledMsgErr; }
    virtual ASErr GoLiveEffect(AILiveEffectGoMessage*) { return kUnhandledMsgErr; }
    virtual ASErr LiveEffectInterpolate(AILiveEffectInterpParamMessage*) { return kUnhandledMsgErr; }
    virtual ASErr LiveEffectGetInputType(AILiveEffectInputTypeMessage*) { return kUnhandledMsgErr; }
    virtual ASErr LiveEffectConvertColorSpace(AILiveEffectConvertColorMessage*) { return kUnhandledMsgErr; }
    virtual ASErr LiveEffectScaleParameters(AILiveEffectScaleParamMessage*) { return kUnhandledMsgErr; }
    virtual ASErr LiveEffectAdjustColors(AILiveEffectAdjustColorsMessage*) { return kUnhandledMsgErr; }
    virtual ASErr LiveEffectHandleMerge(AILiveEffectHandleMergeMessage*) { return kUnhandledMsgErr; }
    virtual ASErr GoTimer(AITimerMessage*) { return kUnhandledMsgErr; }
    virtual ASErr GoClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
    virtual ASErr CanCopyClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
    virtual ASErr CloneClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
    virtual ASErr DisposeClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
    virtual ASErr WorkspaceWrite(AIWorkspaceMessage*) { return kUnhandledMsgErr; }
    virtual ASErr WorkspaceRestore(AIWorkspaceMessage*) { return kUnhandledMsgErr; }
    virtual ASErr WorkspaceDefault(AIWorkspaceMessage*) { return kUnhandledMsgErr; }

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
