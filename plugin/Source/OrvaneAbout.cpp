#include "OrvaneAbout.h"

#include "ADMItem.h"
#include "Dialogues.h"
#include "OrvaneSuites.h"

namespace {

constexpr const char* kTitre = "About Tesk\xA5Orvane";
constexpr const char* kNomEtVersion = "Tesk\xA5Orvane 1.3 (May 2013)";
constexpr const char* kAdresseWeb = "https://orvane.example.org";
constexpr const char* kTexteBouton = "Close";

// The button is item 1, which ends the modal run; the texts keep IDs of their own so that
// item 1 always means the button.
constexpr ASInt32 kItemBouton = 1;
constexpr ASInt32 kItemNomEtVersion = 3;
constexpr ASInt32 kItemAdresseWeb = 5;

constexpr ASRect kRectNomEtVersion = {8, 15, 28, 385};
constexpr ASRect kRectAdresseWeb = {170, 15, 190, 385};
constexpr ASRect kRectBouton = {196, 25, 216, 375};

constexpr ASInt32 kIconeAPropos = 1000;
constexpr ASPoint kCoinIcone = {50, 40};

ADMItemRef CreeTexte(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* texte) {
    ADMItemRef item = sADMDialog->CreateItem(dialog, id, kADMTextStaticType, &rect, nullptr, nullptr, 0);
    sADMItem->SetFont(item, kADMBoldDialogFont);
    sADMItem->SetJustify(item, kADMCenterJustify);
    sADMItem->SetText(item, texte);
    return item;
}

}  // namespace

ASRect PlaceAPropos(const ASRect& ecran) {
    return dialogues::PlaceSurEcran(ecran, apropos::kLargeur, apropos::kHauteur);
}

ASErr AboutParDefautProc(ADMDialogRef dialog) {
    sADMDialog->SetDrawProc(dialog, AboutDraw);

    ASRect ecran = {0, 0, 0, 0};
    sADMBasic->GetScreenDimensions(&ecran);
    const ASRect place = PlaceAPropos(ecran);
    sADMDialog->SetBoundsRect(dialog, &place);
    sADMDialog->SetText(dialog, kTitre);

    CreeTexte(dialog, kItemNomEtVersion, kRectNomEtVersion, kNomEtVersion);
    CreeTexte(dialog, kItemAdresseWeb, kRectAdresseWeb, kAdresseWeb);
    ADMItemRef bouton =
        sADMDialog->CreateItem(dialog, kItemBouton, kADMTextPushButtonType, &kRectBouton, nullptr, nullptr, 0);
    sADMItem->SetText(bouton, kTexteBouton);
    sADMItem->SetNotifyProc(bouton, OKAboutCBP);
    return kNoErr;
}

void AboutDraw(ADMDialogRef dialog, ADMDrawerRef drawer) {
    const SPPluginRef plugin = sADMDialog->GetPluginRef(dialog);
    sADMDialog->DefaultDraw(dialog, drawer);
    // Loaded for each drawing and given back at once: the box keeps nothing between drawings.
    const ADMIconRef icone = sADMIcon2->GetFromResource(plugin, nullptr, kIconeAPropos, 0);
    sADMDrawer->DrawIcon(drawer, icone, &kCoinIcone);
    sADMIcon2->Destroy(icone);
}

void OKAboutCBP(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
}
