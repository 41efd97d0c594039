// Message records of the drawing host and the callers and selectors that carry them.
#pragma once

#include "AITypes.h"
#include "SPBasic.h"

constexpr const char* kCallerAINotifier = "AI Notifier";
constexpr const char* kSelectorAINotify = "AI Notify";

constexpr const char* kActionCaller = "Action Manager";
constexpr const char* kDoActionSelector = "Do Action";

constexpr const char* kCallerAIMenu = "AI Menu";
constexpr const char* kSelectorAIGoMenuItem = "AI Go";
constexpr const char* kSelectorAIUpdateMenuItem = "AI Update";

constexpr const char* kCallerAIFilter = "AI Filter";
constexpr const char* kSelectorAIGetFilterParameters = "AI Get Parameters";
constexpr const char* kSelectorAIGoFilter = "AI Go";

constexpr const char* kCallerAIPluginGroup = "AI Plugin Group";
constexpr const char* kSelectorAINotifyEdits = "AI Notify Edits";
constexpr const char* kSelectorAIUpdateArt = "AI Update";

constexpr const char* kCallerAIFileFormat = "AI File Format";
constexpr const char* kSelectorAIGetFileFormatParameters = "AI Get Parameters";
constexpr const char* kSelectorAIGoFileFormat = "AI Go";
constexpr const char* kSelectorAICheckFileFormat = "AI Check";
constexpr const char* kSelectorAIUpdateFileFormat = "AI Update AI140";
constexpr const char* kDoActionFileFormatSelector = "Do Action";

constexpr const char* kCallerAITool = "AI Tool";
constexpr const char* kSelectorAIEditToolOptions = "AI Edit Options";
constexpr const char* kSelectorAITrackToolCursor = "AI Track Cursor";
constexpr const char* kSelectorAIToolMouseDown = "AI Mouse Down";
constexpr const char* kSelectorAIToolMouseDrag = "AI Mouse Drag";
constexpr const char* kSelectorAIToolMouseUp = "AI Mouse Up";
constexpr const char* kSelectorAIToolKeyDown = "AI Key Down";
constexpr const char* kSelectorAISelectTool = "AI Select";
constexpr const char* kSelectorAIDeselectTool = "AI Deselect";
constexpr const char* kSelectorAIReselectTool = "AI Reselect";
constexpr const char* kSelectorAIDecreaseDiameter = "AI Decrease Diameter";
constexpr const char* kSelectorAIIncreaseDiameter = "AI Increase Diameter";

constexpr const char* kCallerAILiveEffect = "AI Live Effect";
constexpr const char* kSelectorAIEditLiveEffectParameters = "AI Live Effect Edit Parameters";
constexpr const char* kSelectorAIGoLiveEffect = "AI Live Effect Go Live";
constexpr const char* kSelectorAILiveEffectInterpolate = "AI Live Effect Interpolate Parameters";
constexpr const char* kSelectorAILiveEffectInputType = "AI Live Effect Input Type";
constexpr const char* kSelectorAILiveEffectScaleParameters = "AI Live Effect Scale Parameters";
constexpr const char* kSelectorAILiveEffectConvertColorSpace = "AI Live Effect Convert Color Space";
constexpr const char* kSelectorAILiveEffectAdjustColors = "AI Live Effect Adjust Colors";
constexpr const char* kSelectorAILiveEffectHandleMerge = "AI Live Effect Handle Merge";

constexpr const char* kCallerAITimer = "AI Timer";
constexpr const char* kSelectorAIGoTimer = "AI Go";

constexpr const char* kCallerAIClipboard = "AI Clipboard";
constexpr const char* kSelectorAIGoClipboard = "AI Go";
constexpr const char* kSelectorAICanCopyClipboard = "AI Can Copy";
constexpr const char* kSelectorAICloneClipboard = "AI Clone";
constexpr const char* kSelectorAIDisposeClipboard = "AI Dispose";

constexpr const char* kAIWorkspaceCaller = "Workspace Manager";
constexpr const char* kAIWSWriteSelector = "Write Woskspace";
constexpr const char* kAIWSRestoreSelector = "Restore Woskspace";
constexpr const char* kAIWSDefaultSelector = "Default Woskspace";

constexpr const char* kCallerAIAnnotation = "AI Annotation";
constexpr const char* kSelectorAIDrawAnnotation = "AI Draw";

struct AINotifierMessage {
    SPMessageData d;
    AINotifierHandle notifier;
    const char* type;
    void* notifyData;
};

struct DoActionMessage {
    SPMessageData d;
    const char* actionName;
};

struct AIMenuMessage {
    SPMessageData d;
    AIMenuItemHandle menuItem;
};

struct AIFilterMessage {
    SPMessageData d;
};

struct AIPluginGroupMessage {
    SPMessageData d;
};

struct AIFileFormatMessage {
    SPMessageData d;
};

struct AIUpdateFileFormatMessage {
    SPMessageData d;
};

struct AIToolMessage {
    SPMessageData d;
    AIToolHandle tool;
    AIRealPoint cursor;  ///< the cursor in document points
    AIReal pressure;
    AIEvent* event;  ///< modifiers of the event, among others
};

// Keys of AIToolKeyMessage::character that are not printable characters.
constexpr ASUInt32 kAIBackspaceKey = 0x08;
constexpr ASUInt32 kAITabKey = 0x09;
constexpr ASUInt32 kAIReturnKey = 0x0D;
constexpr ASUInt32 kAIEscapeKey = 0x1B;
constexpr ASUInt32 kAIDeleteKey = 0x7F;

/// A key pressed over the document while a plug-in's tool is selected ("AI Key Down"), between the
/// mouse messages: one message per character typed. A key the tool leaves unused goes on to the
/// host's own shortcuts.
struct AIToolKeyMessage {
    SPMessageData d;
    AIToolHandle tool;
    ASUInt32 character;  ///< the Unicode character typed, or one of the kAI...Key codes above
    ASUInt16 modifiers;  ///< shiftKey, optionKey and controlKey held with it
    ASBoolean used;      ///< the tool's answer: true when it used the key (false as sent)
};

struct AILiveEffectEditParamMessage {
    SPMessageData d;
};
struct AILiveEffectGoMessage {
    SPMessageData d;
};
struct AILiveEffectInterpParamMessage {
    SPMessageData d;
};
struct AILiveEffectInputTypeMessage {
    SPMessageData d;
};
struct AILiveEffectConvertColorMessage {
    SPMessageData d;
};
struct AILiveEffectScaleParamMessage {
    SPMessageData d;
};
struct AILiveEffectAdjustColorsMessage {
    SPMessageData d;
};
struct AILiveEffectHandleMergeMessage {
    SPMessageData d;
};

struct AITimerMessage {
    SPMessageData d;
};

struct AIClipboardMessage {
    SPMessageData d;
};

struct AIWorkspaceMessage {
    SPMessageData d;
};

struct AIAnnotatorMessage {
    SPMessageData d;
    AIAnnotatorHandle annotator;
    AIDocumentViewHandle view;
    AIAnnotatorDrawer* drawer;  ///< the drawer of this pass
    const AIRect* invalidationRects;
    ASInt32 numInvalidationRects;
};
