#include "Plugin.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "AppContext.h"
#include "IThrowException.h"
#include "OrvaneSuites.h"

namespace {

constexpr ASInt32 kErrorStringList = 16050;
constexpr ASInt32 kAboutStringList = 16600;
constexpr int kCodeEntryLength = 10;
constexpr int kMessageLength = 128;
constexpr int kAlertLength = 256;
/// Longest message that still receives the code's text.
constexpr std::size_t kLongestFormattedMessage = 120;
/// Codes up to this one are shown in decimal, larger ones as four characters.
constexpr ASErr kLargestDecimalCode = 16384;

const ASErr kFilteredErrors[] = {
    ASFourCC("FMT?"),
    ASFourCC("RFSE"),
    ASFourCC("AFTR"),
    ASFourCC("VALD"),
    ASFourCC("MOOT"),
    ASFourCC("TRSH"),
    ASFourCC("CHEK"),
    ASFourCC("CHIT"),
    ASFourCC("TLTK"),
    ASFourCC("pFls"),
    ASFourCC("S!Fd"),
    ASFourCC("!Acq"),
    ASFourCC("dsRP"),
    ASFourCC("skpE"),
    ASFourCC("DONE"),
    ASFourCC("STOP"),
    361,
    0,
};

bool ReadEntry(SPPluginRef pluginRef, ASInt32 index, char* buffer, int length) {
    buffer[0] = '\0';
    return sADMBasic->GetIndexString(pluginRef, kErrorStringList, index, buffer, length) == kNoErr && buffer[0] != '\0';
}

/// The code a list entry names: a decimal number, or the first four characters of a code.
ASErr EntryCode(const char* entry) {
    if (entry[0] == '-' || (entry[0] >= '0' && entry[0] <= '9')) return std::atoi(entry);
    ASErr code = 0;
    for (int i = 0; i < 4 && entry[i] != '\0'; ++i) code = (code << 8) + static_cast<signed char>(entry[i]);
    return code;
}

/// The message with the code's text in place of its one "%s"; any other '%' stays as it is.
void FormatMessage(const char* message, const char* codeText, char* out, std::size_t size) {
    std::size_t written = 0;
    bool substituted = false;
    auto put = [&](char c) {
        if (written + 1 < size) out[written++] = c;
    };
    for (const char* c = message; *c != '\0'; ++c) {
        if (!substituted && c[0] == '%' && c[1] == 's') {
            for (const char* t = codeText; *t != '\0'; ++t) put(*t);
            substituted = true;
            ++c;
        } else {
            put(*c);
        }
    }
    out[written] = '\0';
}

}  // namespace

Plugin::Plugin(SPPluginRef pluginRef) : fPluginRef(pluginRef) {
    std::strncpy(fPluginName, "Plugin", kMaxStringLength);
    fPluginName[kMaxStringLength - 1] = '\0';
}

Plugin::~Plugin() = default;

void Plugin::ReportError(ASErr, const char*, const char*, void*) {}

ASErr Plugin::LockPlugin(ASBoolean lock) {
    if (lock) {
        if (++fLockCount == 1 && sSPAccess) sSPAccess->AcquirePlugin(fPluginRef, &fPluginAccess);
    } else {
        if (--fLockCount == 0) {
            if (sSPAccess && fPluginAccess) sSPAccess->ReleasePlugin(fPluginAccess);
            fPluginAccess = nullptr;
        }
        if (fLockCount < 0) fLockCount = 0;
    }
    return kNoErr;
}

ASErr Plugin::StartupPlugin(SPInterfaceMessage* message) {
    ASErr error = SetGlobal(this);
    if (!error) {
        fSuites = new (std::nothrow) Suites;
        if (!fSuites) {
            error = kOutOfMemoryErr;
        } else {
            error = fSuites->Error();
            fSuites->InitializeRefCount();
            if (error) {
                delete fSuites;
                fSuites = nullptr;
            }
        }
    }
    if (!error) error = sSPPlugins->SetPluginName(message->d.self, fPluginName);
    if (!error) {
        char notifierName[kMaxStringLength + sizeof " App Started Notifier"];
        std::snprintf(notifierName, sizeof notifierName, "%s App Started Notifier", fPluginName);
        error = sAINotifier->AddNotifier(message->d.self, notifierName, kAIApplicationStartedNotifier,
                                         &fAppStartedNotifier);
    }
    if (!error) {
        error = AllocateSuiteTables();
        FillSuiteTables();
    }
    return error;
}

ASErr Plugin::PostStartupPlugin() {
    return kNoErr;
}

ASErr Plugin::ShutdownPlugin(SPInterfaceMessage*) {
    delete fSuites;
    fSuites = nullptr;
    SetGlobal(nullptr);
    return kNoErr;
}

ASErr Plugin::UnloadPlugin(SPInterfaceMessage*) {
    EmptySuiteTables();
    SetGlobal(nullptr);
    delete fSuites;
    fSuites = nullptr;
    return kNoErr;
}

ASErr Plugin::ReloadPlugin(SPInterfaceMessage*) {
    SetGlobal(this);
    if (!fSuites) fSuites = new (std::nothrow) Suites;
    ASErr error = kOutOfMemoryErr;
    if (fSuites) {
        error = fSuites->Error();
        fSuites->InitializeRefCount();
        if (error) {
            delete fSuites;
            fSuites = nullptr;
        } else {
            FillSuiteTables();
        }
    }
    return error;
}

void Plugin::GetPluginName(char* buffer, int length) {
    if (!buffer || length <= 0) return;
    std::strncpy(buffer, fPluginName, static_cast<std::size_t>(length));
    buffer[length - 1] = '\0';
}

ASErr Plugin::About(SPInterfaceMessage*) {
    char first[kMaxStringLength];
    char second[kMaxStringLength];
    sADMBasic->GetIndexString(fPluginRef, kAboutStringList, 1, first, kMaxStringLength);
    sADMBasic->GetIndexString(fPluginRef, kAboutStringList, 2, second, kMaxStringLength);
    sADMBasic->AboutBox(fPluginRef, first, second);
    return kNoErr;
}

void Plugin::AcquireOptionalSuites() {
    if (fSuites) fSuites->acquire_Optional_Suites();
}

ASErr Plugin::Message(const char* caller, const char* selector, void* message) {
    ASErr error = kUnhandledMsgErr;
    AcquireOptionalSuites();
    auto is = [](const char* a, const char* b) { return std::strcmp(a, b) == 0; };

    if (is(caller, kSPAccessCaller)) {
        if (is(selector, kSPAccessUnloadSelector))
            error = UnloadPlugin(static_cast<SPInterfaceMessage*>(message));
        else if (is(selector, kSPAccessReloadSelector))
            error = ReloadPlugin(static_cast<SPInterfaceMessage*>(message));
    } else if (is(caller, kSPInterfaceCaller)) {
        if (is(selector, kSPInterfaceAboutSelector))
            error = About(static_cast<SPInterfaceMessage*>(message));
        else if (is(selector, kSPInterfaceStartupSelector))
            error = kNoErr;
    } else if (is(caller, kSPCacheCaller)) {
        if (is(selector, kSPPluginPurgeCachesSelector)) error = Purge() ? kSPPluginCachesFlushResponse : kNoErr;
    } else if (is(caller, kSPPropertiesCaller)) {
        if (is(selector, kSPPropertiesAcquireSelector))
            error = AcquireProperty(static_cast<SPPropertiesMessage*>(message));
        else if (is(selector, kSPPropertiesReleaseSelector))
            error = ReleaseProperty(static_cast<SPPropertiesMessage*>(message));
    } else if (is(caller, kCallerAINotifier)) {
        auto* notification = static_cast<AINotifierMessage*>(message);
        AppContext context(notification->d.self);
        if (notification->type && is(notification->type, kAIApplicationStartedNotifier)) error = PostStartupPlugin();
        if ((error == kNoErr || error == kUnhandledMsgErr) && is(selector, kSelectorAINotify))
            error = Notify(notification);
    } else if (is(caller, kActionCaller)) {
        if (is(selector, kDoActionSelector)) error = GoAction(static_cast<DoActionMessage*>(message));
    } else if (is(caller, kCallerAIMenu)) {
        auto* menu = static_cast<AIMenuMessage*>(message);
        if (is(selector, kSelectorAIGoMenuItem))
            error = GoMenuItem(menu);
        else if (is(selector, kSelectorAIUpdateMenuItem))
            error = UpdateMenuItem(menu);
    } else if (is(caller, kCallerAIFilter)) {
        auto* filter = static_cast<AIFilterMessage*>(message);
        if (is(selector, kSelectorAIGetFilterParameters))
            error = GetFilterParameters(filter);
        else if (is(selector, kSelectorAIGoFilter))
            error = GoFilter(filter);
    } else if (is(caller, kCallerAIPluginGroup)) {
        auto* group = static_cast<AIPluginGroupMessage*>(message);
        if (is(selector, kSelectorAINotifyEdits))
            error = PluginGroupNotify(group);
        else if (is(selector, kSelectorAIUpdateArt))
            error = PluginGroupUpdate(group);
    } else if (is(caller, kCallerAIFileFormat)) {
        auto* format = static_cast<AIFileFormatMessage*>(message);
        if (is(selector, kSelectorAIGetFileFormatParameters))
            error = GetFileFormatParameters(format);
        else if (is(selector, kSelectorAIGoFileFormat))
            error = GoFileFormat(format);
        else if (is(selector, kSelectorAICheckFileFormat))
            error = CheckFileFormat(format);
        else if (is(selector, kSelectorAIUpdateFileFormat))
            error = FileFormatUpdate(static_cast<AIUpdateFileFormatMessage*>(message));
        else if (is(selector, kDoActionFileFormatSelector))
            error = SetFileFormatParameters(static_cast<DoActionMessage*>(message));
    } else if (is(caller, kCallerAITool)) {
        auto* tool = static_cast<AIToolMessage*>(message);
        if (is(selector, kSelectorAIEditToolOptions))
            error = EditTool(tool);
        else if (is(selector, kSelectorAITrackToolCursor))
            error = TrackToolCursor(tool);
        else if (is(selector, kSelectorAIToolMouseDown))
            error = ToolMouseDown(tool);
        else if (is(selector, kSelectorAIToolMouseDrag))
            error = ToolMouseDrag(tool);
        else if (is(selector, kSelectorAIToolMouseUp))
            error = ToolMouseUp(tool);
        else if (is(selector, kSelectorAISelectTool))
            error = SelectTool(tool);
        else if (is(selector, kSelectorAIDeselectTool))
            error = DeselectTool(tool);
        else if (is(selector, kSelectorAIReselectTool))
            error = ReselectTool(tool);
        else if (is(selector, kSelectorAIDecreaseDiameter))
            error = DecreaseDiameter(tool);
        else if (is(selector, kSelectorAIIncreaseDiameter))
            error = IncreaseDiameter(tool);
    } else if (is(caller, kCallerAILiveEffect)) {
        if (is(selector, kSelectorAIEditLiveEffectParameters))
            error = EditLiveEffectParameters(static_cast<AILiveEffectEditParamMessage*>(message));
        else if (is(selector, kSelectorAIGoLiveEffect))
            error = GoLiveEffect(static_cast<AILiveEffectGoMessage*>(message));
        else if (is(selector, kSelectorAILiveEffectInterpolate))
            error = LiveEffectInterpolate(static_cast<AILiveEffectInterpParamMessage*>(message));
        else if (is(selector, kSelectorAILiveEffectInputType))
            error = LiveEffectGetInputType(static_cast<AILiveEffectInputTypeMessage*>(message));
        else if (is(selector, kSelectorAILiveEffectScaleParameters))
            error = LiveEffectScaleParameters(static_cast<AILiveEffectScaleParamMessage*>(message));
        else if (is(selector, kSelectorAILiveEffectConvertColorSpace))
            error = LiveEffectConvertColorSpace(static_cast<AILiveEffectConvertColorMessage*>(message));
        else if (is(selector, kSelectorAILiveEffectAdjustColors))
            error = LiveEffectAdjustColors(static_cast<AILiveEffectAdjustColorsMessage*>(message));
        else if (is(selector, kSelectorAILiveEffectHandleMerge))
            error = LiveEffectHandleMerge(static_cast<AILiveEffectHandleMergeMessage*>(message));
    } else if (is(caller, kCallerAITimer)) {
        if (is(selector, kSelectorAIGoTimer)) error = GoTimer(static_cast<AITimerMessage*>(message));
    } else if (is(caller, kCallerAIClipboard)) {
        auto* clipboard = static_cast<AIClipboardMessage*>(message);
        if (is(selector, kSelectorAIGoClipboard))
            error = GoClipboard(clipboard);
        else if (is(selector, kSelectorAICanCopyClipboard))
            error = CanCopyClipboard(clipboard);
        else if (is(selector, kSelectorAICloneClipboard))
            error = CloneClipboard(clipboard);
        else if (is(selector, kSelectorAIDisposeClipboard))
            error = DisposeClipboard(clipboard);
    } else if (is(caller, kAIWorkspaceCaller)) {
        auto* workspace = static_cast<AIWorkspaceMessage*>(message);
        if (is(selector, kAIWSWriteSelector))
            error = WorkspaceWrite(workspace);
        else if (is(selector, kAIWSRestoreSelector))
            error = WorkspaceRestore(workspace);
        else if (is(selector, kAIWSDefaultSelector))
            error = WorkspaceDefault(workspace);
    }
    return error;
}

bool Plugin::IsReloadMsg(const char* caller, const char* selector) {
    return std::strcmp(caller, kSPAccessCaller) == 0 && std::strcmp(selector, kSPAccessReloadSelector) == 0;
}

bool Plugin::FilterError(ASErr error) {
    for (const ASErr* filtered = kFilteredErrors; *filtered != 0; ++filtered)
        if (*filtered == error) return true;
    return false;
}

char* Plugin::FindMsg(SPPluginRef pluginRef, ASErr error, char* buffer, int length) {
    char entry[kCodeEntryLength + 1];
    ASInt32 index = 1;
    for (;;) {
        if (!ReadEntry(pluginRef, index, entry, kCodeEntryLength)) {
            if (index == 1) return nullptr;
            --index;  // the last pair's message serves for every other code
            break;
        }
        if (EntryCode(entry) == error) {
            ++index;
            break;
        }
        index += 2;
    }
    if (length <= 0) return nullptr;
    buffer[0] = '\0';
    if (sADMBasic->GetIndexString(pluginRef, kErrorStringList, index, buffer, length) != kNoErr || buffer[0] == '\0')
        return nullptr;
    return buffer;
}

void Plugin::DefaultError(SPPluginRef pluginRef, ASErr error) {
    if (FilterError(error)) return;
    bool acquiredHere = false;
    if (!sADMBasic) {
        if (!sSPBasic) return;
        const void* suite = nullptr;
        if (sSPBasic->AcquireSuite(kADMBasicSuite, kADMBasicSuiteVersion11, &suite) != kNoErr || !suite) return;
        sADMBasic = static_cast<const ADMBasicSuite*>(suite);
        acquiredHere = true;
    }
    char message[kMessageLength];
    if (FindMsg(pluginRef, error, message, kMessageLength)) {
        char alert[kAlertLength];
        if (std::strlen(message) < kLongestFormattedMessage) {
            char codeText[16];
            if (error <= kLargestDecimalCode) {
                std::snprintf(codeText, sizeof codeText, "%d", error);
            } else {
                auto code = static_cast<std::uint32_t>(error);
                codeText[0] = static_cast<char>(code >> 24);
                codeText[1] = static_cast<char>(code >> 16);
                codeText[2] = static_cast<char>(code >> 8);
                codeText[3] = static_cast<char>(code);
                codeText[4] = '\0';
            }
            FormatMessage(message, codeText, alert, sizeof alert);
        } else {
            std::snprintf(alert, sizeof alert, "%s", message);
        }
        sADMBasic->ErrorAlert(alert);
    }
    if (acquiredHere) {
        sSPBasic->ReleaseSuite(kADMBasicSuite, kADMBasicSuiteVersion11);
        sADMBasic = nullptr;
    }
}

void FixupReload(Plugin*) {
    // The host keeps the module mapped from start-up to shutdown, unload and
    // reload included, so the object's dispatch table never moves.
}
