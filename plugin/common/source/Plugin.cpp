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

/// How the plug-in object answers one message: the message's record is the one its caller sends.
using Handler = ASErr (*)(Plugin& plugin, void* message);

/// A message the frame dispatches, by caller and selector.
struct Route {
    const char* caller;
    const char* selector;
    Handler handle;
};

/// The operation called with the message's record.
template <class Record, ASErr (Plugin::*operation)(Record*)>
ASErr Forward(Plugin& plugin, void* message) {
    return (plugin.*operation)(static_cast<Record*>(message));
}

ASErr Acknowledge(Plugin&, void*) {
    return kNoErr;
}

ASErr PurgeCaches(Plugin& plugin, void*) {
    return plugin.Purge() ? kSPPluginCachesFlushResponse : kNoErr;
}

/// The application-started notification ends the start-up before the object hears of it.
ASErr Notified(Plugin& plugin, void* message) {
    auto* notification = static_cast<AINotifierMessage*>(message);
    AppContext context(notification->d.self);
    ASErr error = kUnhandledMsgErr;
    if (notification->type && std::strcmp(notification->type, kAIApplicationStartedNotifier) == 0)
        error = plugin.PostStartupPlugin();
    if (error == kNoErr || error == kUnhandledMsgErr) error = plugin.Notify(notification);
    return error;
}

const Route kRoutes[] = {
    {kSPAccessCaller, kSPAccessUnloadSelector, Forward<SPInterfaceMessage, &Plugin::UnloadPlugin>},
    {kSPAccessCaller, kSPAccessReloadSelector, Forward<SPInterfaceMessage, &Plugin::ReloadPlugin>},
    {kSPInterfaceCaller, kSPInterfaceAboutSelector, Forward<SPInterfaceMessage, &Plugin::About>},
    {kSPInterfaceCaller, kSPInterfaceStartupSelector, Acknowledge},
    {kSPCacheCaller, kSPPluginPurgeCachesSelector, PurgeCaches},
    {kCallerAINotifier, kSelectorAINotify, Notified},
    {kActionCaller, kDoActionSelector, Forward<DoActionMessage, &Plugin::GoAction>},
    {kCallerAIMenu, kSelectorAIGoMenuItem, Forward<AIMenuMessage, &Plugin::GoMenuItem>},
    {kCallerAIMenu, kSelectorAIUpdateMenuItem, Forward<AIMenuMessage, &Plugin::UpdateMenuItem>},
    {kCallerAITool, kSelectorAIEditToolOptions, Forward<AIToolMessage, &Plugin::EditTool>},
    {kCallerAITool, kSelectorAITrackToolCursor, Forward<AIToolMessage, &Plugin::TrackToolCursor>},
    {kCallerAITool, kSelectorAIToolMouseDown, Forward<AIToolMessage, &Plugin::ToolMouseDown>},
    {kCallerAITool, kSelectorAIToolMouseDrag, Forward<AIToolMessage, &Plugin::ToolMouseDrag>},
    {kCallerAITool, kSelectorAIToolMouseUp, Forward<AIToolMessage, &Plugin::ToolMouseUp>},
    {kCallerAITool, kSelectorAIToolKeyDown, Forward<AIToolKeyMessage, &Plugin::ToolKeyDown>},
    {kCallerAITool, kSelectorAISelectTool, Forward<AIToolMessage, &Plugin::SelectTool>},
    {kCallerAITool, kSelectorAIDeselectTool, Forward<AIToolMessage, &Plugin::DeselectTool>},
    // A tool with no brush: reselection and the diameter keys change nothing.
    {kCallerAITool, kSelectorAIReselectTool, Acknowledge},
    {kCallerAITool, kSelectorAIDecreaseDiameter, Acknowledge},
    {kCallerAITool, kSelectorAIIncreaseDiameter, Acknowledge},
    {kCallerAIAnnotation, kSelectorAIDrawAnnotation, Forward<AIAnnotatorMessage, &Plugin::DrawAnnotation>},
};

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
    AcquireOptionalSuites();
    for (const Route& route : kRoutes)
        if (std::strcmp(caller, route.caller) == 0 && std::strcmp(selector, route.selector) == 0)
            return route.handle(*this, message);
    return kUnhandledMsgErr;
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
