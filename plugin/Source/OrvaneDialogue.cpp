#include "OrvaneDialogue.h"

#include <iterator>

#include "ADMNotifier.h"
#include "Aide.h"
#include "AppContext.h"
#include "Dialogues.h"
#include "PlaneGeometry.h"
#include "OrvanePlugIn.h"
#include "OrvanePrefs.h"
#include "OrvaneSuites.h"
#include "RectDialogue.h"
#include "Settings.h"

namespace {

constexpr ASInt32 kMenuPanneau = 1019;
constexpr ASInt32 kImageIndicateurEchelle = 1016;
constexpr ASInt32 kImagePageSuivante = 1010;
constexpr ASInt32 kImagePageSuivanteEnfoncee = 1011;
constexpr ASInt32 kImagePagePrecedente = 1012;
constexpr ASInt32 kImagePagePrecedenteEnfoncee = 1013;

/// The help area's texts are small.
constexpr ADMFont kPoliceAide = kADMSmallPaletteFont;

/// Sizes of the modal dialogs, which open centred across the screen and a third down.

// The fields' steps: 1 mm and 5 mm as points, 1 and 5 degrees.
constexpr float kPetitPasLongueur = 2.8346457f;
constexpr float kGrandPasLongueur = 14.173228f;
constexpr float kPetitPasAngle = 1.0f;
constexpr float kGrandPasAngle = 5.0f;

/// The length field's presets in millimetres, by entry ID.
constexpr int kLongueursPreselection[] = {-100, -90, -80, -70, -60, -50, -40, -35, -30, -25, -20, -15, -10, -5,
                                          5,    10,  15,  20,  25,  30,  35,  40,  50,  60,  70,  80,  90,  100};
/// The middle groups (-40 to -5 and 5 to 40, IDs 6 to 21) get shorter texts.
constexpr int kPremierIdCourt = 6;
constexpr int kDernierIdCourt = 21;
constexpr int kCaracteresLongueurLongs = 9;
constexpr int kCaracteresLongueurCourts = 7;
/// The angle field's presets: -165 to 180 degrees by 15.
constexpr int kNombreAnglesPreselection = 24;
constexpr int kCaracteresAngle = 5;

constexpr const char* kBulleReveil = "Click on the panel to activate the tool.";
constexpr const char* kBulleLongueur = "Segment length (mm).";
constexpr const char* kBulleAngle = "Angle of the segment (\xA1).";  // the degree sign of Mac OS Roman
constexpr const char* kBulleIndicateur = "Indicates that the scale is not one.";
constexpr const char* kBulleTexteAide = "Help text.";
constexpr const char* kBulleNumeroPage = "Help page number.";

ADMItemRef Item(ADMDialogRef dialog, ASInt32 id) {
    return sADMDialog->GetItem(dialog, id);
}

ADMItemRef ItemDuPanneau(ASInt32 id) {
    return Item(OrvanePlugIn::Current()->panelDialog(), id);
}

ADMItemRef CreeItem(ADMDialogRef dialog, ASInt32 id, const char* type, ASRect rect) {
    return sADMDialog->CreateItem(dialog, id, type, &rect, nullptr, nullptr, 0);
}

/// A preset of a field: its value formatted in the field's units, no decimals, with the
/// unit, in at most the given number of characters.
void AjoutePreselection(ADMListRef liste, ASInt32 id, float valeur, ADMUnits unites, int caracteres) {
    char texte[16];
    sADMBasic->ValueToText(valeur, texte, caracteres + 1, unites, 0, true);
    ADMEntryRef entree = sADMList->InsertEntry(liste, -1);
    sADMEntry->SetID(entree, id);
    sADMEntry->SetText(entree, texte);
}

void CreeChampLongueur(ADMDialogRef dialog) {
    ADMItemRef champ = CreeItem(dialog, panneau::kItemLongueur, kADMSpinEditPopupType, RectBords(4, 4, 84, 23));
    sADMItem->SetTipString(champ, kBulleLongueur);
    sADMItem->SetNotifyProc(champ, LongueurCBP);
    sADMItem->SetUnits(champ, kADMMillimeterUnits);
    sADMItem->SetSmallIncrement(champ, kPetitPasLongueur);
    sADMItem->SetLargeIncrement(champ, kGrandPasLongueur);
    ADMListRef liste = sADMItem->GetList(champ);
    for (ASInt32 id = 0; id < static_cast<ASInt32>(std::size(kLongueursPreselection)); ++id) {
        const double points = kLongueursPreselection[id] / settings::kMillimetresPerPoint;
        const bool court = id >= kPremierIdCourt && id <= kDernierIdCourt;
        AjoutePreselection(liste, id, static_cast<float>(points), kADMMillimeterUnits,
                           court ? kCaracteresLongueurCourts : kCaracteresLongueurLongs);
    }
}

void CreeChampAngle(ADMDialogRef dialog) {
    ADMItemRef champ = CreeItem(dialog, panneau::kItemAngle, kADMSpinEditPopupType, RectBords(102, 4, 182, 23));
    sADMItem->SetTipString(champ, kBulleAngle);
    sADMItem->SetNotifyProc(champ, AngleCBP);
    sADMItem->SetUnits(champ, kADMDegreeUnits);
    sADMItem->SetSmallIncrement(champ, kPetitPasAngle);
    sADMItem->SetLargeIncrement(champ, kGrandPasAngle);
    ADMListRef liste = sADMItem->GetList(champ);
    for (ASInt32 id = 0; id < kNombreAnglesPreselection; ++id)
        AjoutePreselection(liste, id, static_cast<float>(15 * id - 165), kADMDegreeUnits, kCaracteresAngle);
}

/// An invisible button beside a field: a click on it puts the focus into the field.
void CreeMot(ADMDialogRef dialog, ASInt32 id, ASRect rect, const char* bulle) {
    ADMItemRef mot = CreeItem(dialog, id, kADMPicturePushButtonType, rect);
    sADMItem->SetTipString(mot, bulle);
    sADMItem->SetNotifyProc(mot, MotCBP);
    sADMItem->SetDrawProc(mot, BidonPrefsDraw);
}

void CreeFleche(ADMDialogRef dialog, ASInt32 id, ASRect rect, const char* bulle, ADMItemNotifyProc notification, ASInt32 image,
                ASInt32 imageEnfoncee) {
    ADMItemRef fleche = CreeItem(dialog, id, kADMPicturePushButtonType, rect);
    sADMItem->SetTipString(fleche, bulle);
    sADMItem->SetNotifyProc(fleche, notification);
    sADMItem->SetPictureID(fleche, image, nullptr);
    sADMItem->SetSelectedPictureID(fleche, imageEnfoncee, nullptr);
    sADMItem->SetBooleanValue(fleche, false);
}

ADMItemRef CreeTexteAide(ADMDialogRef dialog, ASInt32 id, ASRect rect, ADMJustify justification) {
    ADMItemRef texte = CreeItem(dialog, id, kADMTextStaticType, rect);
    sADMItem->SetUnits(texte, kADMNoUnits);
    sADMItem->SetJustify(texte, justification);
    sADMItem->SetFont(texte, kPoliceAide);
    return texte;
}

}  // namespace

void PlaceDialogues(const ASRect& screen, ModalDialogPlace& preferences, ModalDialogPlace& customScale) {
    using namespace dialogues;
    const ASRect echellePerso = PlaceSurEcran(screen, kLargeurEchellePerso, kHauteurEchellePerso);
    customScale.frame.top = echellePerso.top;
    customScale.frame.left = echellePerso.left;
    const ASRect prefs = PlaceSurEcran(screen, kLargeurPrefs, kHauteurPrefs);
    preferences.frame.top = prefs.top;
    preferences.frame.left = prefs.left;
}

OrvaneDialogue::OrvaneDialogue(SPPluginRef plugin) {
    Create(plugin, panneau::kNom, dialogues::kIdPanneau, kADMTabbedFloatingDialogStyle, 0);
}

OrvaneDialogue::~OrvaneDialogue() {
    if (fAcces) sSPAccess->ReleasePlugin(fAcces);
}

ASErr OrvaneDialogue::Init() {
    const SPPluginRef plugin = fDialog.GetPluginRef();
    AppContext contexte(plugin);
    sSPAccess->AcquirePlugin(plugin, &fAcces);

    fConstruit = fDialog;
    const ADMDialogRef dialog = fConstruit;
    OrvanePlugIn& plugIn = *OrvanePlugIn::Current();
    plugIn.preferencesDialog().place.open = false;
    ASRect ecran = {0, 0, 0, 0};
    sADMBasic->GetScreenDimensions(&ecran);
    sADMDialog->SetNotifyProc(dialog, MaNotification);
    plugIn.customScaleDialog().open = false;
    PlaceDialogues(ecran, plugIn.preferencesDialog().place, plugIn.customScaleDialog());

    ADMItemRef menu = Item(dialog, kADMMenuItemID);
    sADMItem->SetNotifyProc(menu, MenuCBP);
    if (ADMListRef liste = menu ? sADMItem->GetList(menu) : nullptr)
        sADMList->SetMenuID(liste, plugin, kMenuPanneau, nullptr);

    ADMItemRef reveil = CreeItem(dialog, panneau::kItemReveil, kADMPictureStaticType,
                                 RectBords(0, 0, panneau::kLargeur, panneau::kHauteurBandeau));
    sADMItem->SetTipString(reveil, kBulleReveil);
    sADMItem->SetNotifyProc(reveil, ReveillePanneauCBP);
    sADMItem->SetDrawProc(reveil, BidonPrefsDraw);

    CreeChampLongueur(dialog);
    CreeMot(dialog, panneau::kItemMotLongueur, RectBords(-2, 4, 3, 23), kBulleLongueur);
    CreeChampAngle(dialog);
    CreeMot(dialog, panneau::kItemMotAngle, RectBords(87, 4, 101, 23), kBulleAngle);

    ADMItemRef indicateur = CreeItem(dialog, panneau::kItemIndicateurEchelle, kADMPictureStaticType, RectBords(90, 11, 96, 17));
    sADMItem->SetPictureID(indicateur, kImageIndicateurEchelle, nullptr);
    const bool echelleUn = CurrentSettings().scale() == 1.0;
    if (!echelleUn) sADMItem->SetTipString(indicateur, kBulleIndicateur);
    sADMItem->Show(indicateur, !echelleUn);

    ADMItemRef texte = CreeItem(dialog, aide::kItemTexte, kADMTextStaticMultiLineType, RectBords(4, 30, 181, 126));
    sADMItem->SetTipString(texte, kBulleTexteAide);
    sADMItem->SetJustify(texte, kADMCenterJustify);
    sADMItem->SetFont(texte, kPoliceAide);
    fPageAide = 1;
    sADMItem->SetText(texte, PageAide(fPageAide));

    CreeFleche(dialog, aide::kItemFlecheDroite, RectBords(148, 128, 161, 139), aide::kBullePageSuivante, FlecheDroiteCBP,
               kImagePageSuivante, kImagePageSuivanteEnfoncee);
    CreeFleche(dialog, aide::kItemFlecheGauche, RectBords(20, 128, 33, 139), aide::kBullePremierePage, FlecheGaucheCBP,
               kImagePagePrecedente, kImagePagePrecedenteEnfoncee);
    sADMItem->Enable(Item(dialog, aide::kItemFlecheGauche), false);
    ADMItemRef numero = CreeTexteAide(dialog, aide::kItemNumeroPage, RectBords(70, 128, 90, 142), kADMRightJustify);
    sADMItem->SetTipString(numero, kBulleNumeroPage);
    sADMItem->SetIntValue(numero, fPageAide);
    sADMItem->SetText(CreeTexteAide(dialog, aide::kItemBarre, RectBords(90, 128, 100, 142), kADMCenterJustify), "/");
    sADMItem->SetIntValue(CreeTexteAide(dialog, aide::kItemNombrePages, RectBords(100, 128, 120, 142), kADMLeftJustify),
                          aide::kNombrePages);

    // The strip alone: the help area is opened from the panel's menu.
    ASRect rect{};
    sADMDialog->GetBoundsRect(dialog, &rect);
    rect.right = static_cast<ASInt16>(rect.left + panneau::kLargeur);
    rect.bottom = static_cast<ASInt16>(rect.top + panneau::kHauteurBandeau);
    sADMDialog->SetBoundsRect(dialog, &rect);

    sADMDialog->Show(dialog, plugIn.settings().panelVisible);
    return kNoErr;
}

void OrvaneDialogue::ActiveZones(bool active) {
    sADMDialog->SetText(fDialog, panneau::kTitre);
    for (ASInt32 id = panneau::kItemLongueur; id <= aide::kItemBarre; ++id) {
        // The catcher's tooltip invites the click that selects the tool: useful only until then.
        const bool bulle = id == panneau::kItemReveil ? !active : active;
        sADMItem->EnableTip(sADMDialog->GetItem(fDialog, id), bulle);
    }
    sADMItem->Move(sADMDialog->GetItem(fDialog, panneau::kItemReveil), active ? panneau::kReveilEcarte : 0, 0);
    for (ASInt32 id : {panneau::kItemLongueur, panneau::kItemAngle, panneau::kItemIndicateurEchelle})
        sADMItem->Enable(sADMDialog->GetItem(fDialog, id), active);
}

std::optional<ASInt32> OrvaneDialogue::CodeAncrage() const {
    const char* groupe = nullptr;
    ASInt32 code = 0;
    if (!fDialog || sADMDialogGroup->GetDialogGroupInfo(fDialog, &groupe, &code) != kNoErr) return std::nullopt;
    return code;
}

void OrvaneDialogue::MaNotification(ADMDialogRef dialog, ADMNotifierRef notifier) {
    sADMDialog->DefaultNotify(dialog, notifier);
    if (sADMNotifier->IsNotifierType(notifier, kADMHideWindowNotifier))
        CurrentSettings().panelVisible = false;
    else if (sADMNotifier->IsNotifierType(notifier, kADMShowWindowNotifier))
        CurrentSettings().panelVisible = true;
    else if (sADMNotifier->IsNotifierType(notifier, kADMTextSelectionChangeNotifier))
        PrendValeursTapees(dialog, CurrentToolState(), CurrentSettings().scale());
}

void RemplitChampsDuPanneau(const ToolState& state, double scale) {
    sADMItem->SetFloatValue(ItemDuPanneau(panneau::kItemLongueur), static_cast<float>(scale * state.segmentLength));
    sADMItem->SetFloatValue(ItemDuPanneau(panneau::kItemAngle), AngleARetaper(state.previousDirection, state.direction));
}


void ActiveChampLongueur() {
    sADMItem->Activate(ItemDuPanneau(panneau::kItemLongueur), true);
}
