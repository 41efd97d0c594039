#include "OrvaneAnnotations.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ASMemory.h"
#include "IAIUnicodeString.h"
#include "IThrowException.h"
#include "OrvaneDialogue.h"
#include "OrvaneOutil.h"
#include "OrvaneSuites.h"
#include "Reglages.h"

char TexteLigne[kTailleTexteLigne];

namespace {

constexpr const char* kCleRougeGuide = "snapomatic/Color/red";
constexpr const char* kCleVertGuide = "snapomatic/Color/green";
constexpr const char* kCleBleuGuide = "snapomatic/Color/blue";
constexpr AIReal kEchelleCouleur = 65535.0f;

constexpr AIReal kEpaisseurTrait = 1.0f;
constexpr AIReal kEpaisseurMarqueur = 2.0f;
constexpr AIReal kEpaisseurContour = 2.0f;
constexpr ASInt16 kDemiMarqueur = 3;

constexpr AIRGBColor kBlanc = {65535, 65535, 65535};
constexpr AIRGBColor kNoir = {0, 0, 0};

/// Size of a label's text, NUL included.
constexpr std::size_t kTailleEtiquette = 60;
// The length box sits 6 pixels above the middle of the rubber band, its text one more;
// the angle box 12 below (8 with the small size), its text one less.
constexpr AIReal kHausseBoiteLongueur = 6.0f;
constexpr AIReal kHausseTexteLongueur = 7.0f;
constexpr AIReal kBaisseBoiteAngle = 12.0f;
constexpr AIReal kBaisseTexteAngle = 11.0f;

constexpr const char* kTexteFermer = "Click to create the polygon.";
constexpr const char* kTexteFinir = "Click to finish.";
// The hints go 12 pixels below their anchor, moved left by about half their width.
constexpr int kBaisseIndice = 12;
constexpr int kRetraitIndiceFermer = 70;
constexpr int kRetraitIndiceFinir = 40;

/// What TailleTexteAnnotations selects: the font preset, the margin around the texts,
/// how much higher the angle box goes, and the extra lift of the length text.
struct TailleDesTextes {
    bool choisie = false;
    ASInt32 preset = kAIAFSmall;
    double marge = 0.0;
    AIReal hausseAngle = 0.0f;
    ASInt16 leveeLongueur = 0;
};

TailleDesTextes TailleChoisie(ASInt32 taille) {
    switch (taille) {
        case 0:
            return {true, kAIAFSmall, 2.0, 4.0f, 0};
        case 1:
            return {true, kAIAFMedium, 4.0, 0.0f, 0};
        case 2:
            return {true, kAIAFLarge, 4.0, 0.0f, 1};
        default:
            return {};
    }
}

AIPoint PointVue(AIAnnotatorMessage* message, AIRealPoint point, ASErr& erreur) {
    AIPoint vue = {0, 0};
    erreur = sAIDocumentView->ArtworkPointToViewPoint(message->view, &point, &vue);
    return vue;
}

AIPoint PointVue(AIAnnotatorMessage* message, AIRealPoint point) {
    ASErr ignoree = kNoErr;
    return PointVue(message, point, ignoree);
}

/// A pixel moved by delta, kept within 16 bits.
ASInt16 Decale(ASInt16 pixel, int delta) {
    return static_cast<ASInt16>(std::clamp(pixel + delta, int{INT16_MIN}, int{INT16_MAX}));
}

/// Appends text to the area of the given size, cutting what does not fit.
void Ajoute(char* zone, std::size_t taille, const char* texte) {
    const std::size_t longueur = std::strlen(zone);
    if (longueur + 1 >= taille) return;
    std::strncat(zone, texte, taille - longueur - 1);
}

/// Half the text's height and width plus the margin, in single precision.
void DemiDimensions(AIAnnotatorMessage* message, const ai::UnicodeString& texte, double marge, AIReal& demiHauteur,
                    AIReal& demiLargeur) {
    AIRect bornes = {0, 0, 0, 0};
    sAIAnnotatorDrawer->GetTextBounds(message->drawer, texte.GetHandle(), nullptr, &bornes);
    demiHauteur = static_cast<AIReal>(marge + 0.5 * (bornes.bottom - bornes.top));
    demiLargeur = static_cast<AIReal>(marge + 0.5 * (bornes.right - bornes.left));
}

ASErr TraceGuide(AIAnnotatorMessage* message, bool& surGuide, AIReal& position, AIReal AIRealPoint::*axe,
                 AIReal Souvenir_t::*coordonnee) {
    AIAnnotatorDrawer* drawer = message->drawer;
    surGuide = false;
    sAIAnnotatorDrawer->SetLineDashed(drawer, true);
    AIReal zoom = 1.0f;
    ASErr erreur = sAIDocumentView->GetDocumentViewZoom(message->view, &zoom);
    const AIReal tolerance = static_cast<AIReal>(DistanceMagnetisme) / zoom;
    if (const Souvenir_t* souvenir = SouvenirAligne(PtrPremierSouvenir, PositionCurseur.*axe, tolerance, coordonnee)) {
        surGuide = true;
        position = souvenir->*coordonnee;
        const AIRealPoint point = {souvenir->h, souvenir->v};
        AIRealPoint depart = PositionCurseur;
        depart.*axe = position;
        erreur = sAIAnnotatorDrawer->DrawLine(drawer, PointVue(message, depart), PointVue(message, point));
    }
    sAIAnnotatorDrawer->SetLineDashed(drawer, false);
    return erreur;
}

AIRGBColor CouleurGuide() {
    AIRGBColor couleur = {0, 0, 0};
    ASUInt16* composantes[] = {&couleur.red, &couleur.green, &couleur.blue};
    const char* cles[] = {kCleRougeGuide, kCleVertGuide, kCleBleuGuide};
    for (int i = 0; i < 3; ++i) {
        double valeur = 0.0;
        if (sAIPreference->GetRealPreference(nullptr, cles[i], &valeur) != kNoErr) valeur = 0.0;
        *composantes[i] = ComposanteCouleurGuide(valeur);
    }
    return couleur;
}

/// The hint at the position, then the outline of the hovered path, which a click would close or finish.
ASErr TraceIndice(AIAnnotatorMessage* message, const char* indice, AIPoint position) {
    try {
        const ai::UnicodeString texte(indice);
        sAIAnnotatorDrawer->DrawText(message->drawer, texte.GetHandle(), position);
    } catch (const ai::Error&) {
        // Without its text the hint still outlines the path a click acts on.
    }
    return TraceAnnoteCourbeEntiereBezier(message, CouleurCalque, kEpaisseurContour, SurChemin);
}

/// A block of the host's memory, given back when it goes.
class BlocHote {
public:
    explicit BlocHote(std::size_t taille) : fBloc(ASMemory::Allocate(taille)) {}
    BlocHote(const BlocHote&) = delete;
    BlocHote& operator=(const BlocHote&) = delete;
    ~BlocHote() { ASMemory::Free(fBloc); }
    void* Get() const { return fBloc; }

private:
    void* fBloc;
};

}  // namespace

ASUInt16 ComposanteCouleurGuide(double valeur) {
    // The single-precision product must stay within 32 bits for its truncation to mean anything.
    constexpr double kLimite = 2147483520.0;  // the largest float below 2^31
    if (!(std::fabs(valeur) * kEchelleCouleur <= kLimite)) return 0;
    const AIReal produit = static_cast<AIReal>(valeur) * kEchelleCouleur;
    if (!(std::fabs(produit) <= static_cast<AIReal>(kLimite))) return 0;
    return static_cast<ASUInt16>(static_cast<ASInt32>(produit));
}

const Souvenir_t* SouvenirAligne(const Souvenir_t* premier, AIReal curseur, AIReal tolerance,
                                 AIReal Souvenir_t::*coordonnee) {
    for (const Souvenir_t* souvenir = premier; souvenir; souvenir = souvenir->suivant) {
        const AIReal ecart = std::fabs(curseur - souvenir->*coordonnee);
        if (tolerance > ecart) return souvenir;
    }
    return nullptr;
}

ASInt16 PixelTronque(AIReal coordonnee) {
    if (std::isnan(coordonnee)) return 0;
    return static_cast<ASInt16>(std::clamp(std::trunc(coordonnee), AIReal{INT16_MIN}, AIReal{INT16_MAX}));
}

AIRect BoiteEtiquette(ASInt16 bordV1, AIReal demiHauteur, AIReal gauche, AIReal demiLargeur) {
    const ASInt16 bordV2 = PixelTronque(static_cast<AIReal>(bordV1) - 2.0f * demiHauteur);
    const ASInt16 bordGauche = PixelTronque(gauche);
    const ASInt16 bordDroit = PixelTronque(static_cast<AIReal>(bordGauche) + 2.0f * demiLargeur);
    return {std::min(bordV1, bordV2), std::min(bordGauche, bordDroit), std::max(bordV1, bordV2),
            std::max(bordGauche, bordDroit)};
}

ASErr toolAnnotate(AIAnnotatorMessage* message) {
    AIAnnotatorDrawer* drawer = message->drawer;
    // Each step goes on whatever the one before returned; the pass answers the last step's result.
    sAIAnnotatorDrawer->SetLineWidth(drawer, kEpaisseurTrait);
    sAIAnnotatorDrawer->SetLineDashed(drawer, false);

    AILayerHandle calque = nullptr;
    sAILayer->GetCurrentLayer(&calque);
    sAILayer->GetLayerColor(calque, &CouleurCalque);

    sAIAnnotatorDrawer->SetColor(drawer, CouleurGuide());
    sAIAnnotatorDrawer->SetFontPreset(drawer, kAIAFSmall);

    // The guides are found here, not while tracking: the next click snaps to what is drawn,
    // and to nothing that is not.
    if (PanneauMontre()) {
        SurGuideHoriz = false;
        SurGuideVerti = false;
    } else {
        TraceAnnoteGuidesHoriz(message);
        TraceAnnoteGuidesVerti(message);
    }
    OublieLigneBriseeDisparue();
    if (AjouterSegment) TraceAnnoteCourbeEntiereBezier(message, CouleurCalque, kEpaisseurContour, SurChemin);
    ASErr erreur = TraceAnnoteTextePourFermerLigneBrisee(message);
    if (NbPoints > 0) {
        TraceAnnoteLigneBrisee(message);
        erreur = TraceAnnoteTexteLongueurLigneBrisee(message);
    }
    return erreur;
}

ASErr TraceAnnotePoint(AIAnnotatorMessage* message, AIRealPoint point) {
    AIAnnotatorDrawer* drawer = message->drawer;
    sAIAnnotatorDrawer->SetLineWidth(drawer, kEpaisseurMarqueur);
    ASErr erreur = kNoErr;
    const AIPoint centre = PointVue(message, point, erreur);
    const AIRect cadre = {Decale(centre.v, -kDemiMarqueur), Decale(centre.h, -kDemiMarqueur),
                          Decale(centre.v, kDemiMarqueur), Decale(centre.h, kDemiMarqueur)};
    sAIAnnotatorDrawer->DrawEllipse(drawer, cadre, false);
    sAIAnnotatorDrawer->SetLineWidth(drawer, kEpaisseurTrait);
    return erreur;
}

ASErr TraceAnnoteLigneBrisee(AIAnnotatorMessage* message) {
    AIAnnotatorDrawer* drawer = message->drawer;
    sAIAnnotatorDrawer->SetLineDashed(drawer, true);
    const ASErr erreur = sAIAnnotatorDrawer->DrawLine(drawer, PointVue(message, ClicUn), PointVue(message, ClicDeux));
    sAIAnnotatorDrawer->SetLineDashed(drawer, false);
    return erreur;
}

ASErr TraceAnnoteGuidesHoriz(AIAnnotatorMessage* message) {
    return TraceGuide(message, SurGuideHoriz, PosCurseurSurGuideV, &AIRealPoint::v, &Souvenir_t::v);
}

ASErr TraceAnnoteGuidesVerti(AIAnnotatorMessage* message) {
    return TraceGuide(message, SurGuideVerti, PosCurseurSurGuideH, &AIRealPoint::h, &Souvenir_t::h);
}

ASErr TraceAnnoteTexteLongueurLigneBrisee(AIAnnotatorMessage* message) {
    if (Control || SupprimerSegment) return kNoErr;
    AIAnnotatorDrawer* drawer = message->drawer;
    ASErr erreur = kNoErr;
    try {
        const AIRealPoint milieu = {0.5f * (ClicUn.h + ClicDeux.h), 0.5f * (ClicUn.v + ClicDeux.v)};
        const AIPoint p = PointVue(message, milieu);
        const AIReal ph = p.h;
        const AIReal pv = p.v;

        const TailleDesTextes taille = TailleChoisie(TailleTexteAnnotations);
        if (taille.choisie) sAIAnnotatorDrawer->SetFontPreset(drawer, taille.preset);
        const signed char precision = static_cast<signed char>(Precision);

        char etiquette[kTailleEtiquette] = "L=";
        const auto longueur = static_cast<float>(reglages::kMillimetresParPoint * (LongueurSegment * Echelle));
        NombreEnChaine(longueur, precision, TexteLigne);
        Ajoute(TexteLigne, sizeof TexteLigne, " mm");
        Ajoute(etiquette, sizeof etiquette, TexteLigne);
        const ai::UnicodeString texteLongueur(etiquette);

        AIReal demiHauteur = 0.0f;
        AIReal demiLargeur = 0.0f;
        DemiDimensions(message, texteLongueur, taille.marge, demiHauteur, demiLargeur);
        const AIReal gauche = ph - demiLargeur;

        const AIRect boiteLongueur =
            BoiteEtiquette(PixelTronque(pv + demiHauteur - kHausseBoiteLongueur), demiHauteur, gauche, demiLargeur);
        sAIAnnotatorDrawer->SetColor(drawer, kBlanc);
        sAIAnnotatorDrawer->DrawRect(drawer, boiteLongueur, true);
        sAIAnnotatorDrawer->SetColor(drawer, kNoir);
        sAIAnnotatorDrawer->DrawRect(drawer, boiteLongueur, false);

        ASInt16 bordTexte = PixelTronque(pv + demiHauteur - kHausseTexteLongueur);
        bordTexte = Decale(bordTexte, -taille.leveeLongueur);
        erreur = sAIAnnotatorDrawer->DrawTextAligned(drawer, texteLongueur.GetHandle(), kAIATextAlignCenter,
                                                     kAIATextAlignCenter,
                                                     BoiteEtiquette(bordTexte, demiHauteur, gauche, demiLargeur));

        std::strcpy(etiquette, "a=");
        AIReal angle = sMath->AIRadianToDegree(AngleRelatif);
        if (angle < 0.0f) {
            Ajoute(etiquette, sizeof etiquette, "-");
            angle = -angle;
        }
        NombreEnChaine(angle, precision, TexteLigne);
        Ajoute(TexteLigne, sizeof TexteLigne, SymboleDegreChaine);
        Ajoute(etiquette, sizeof etiquette, TexteLigne);
        const ai::UnicodeString texteAngle(etiquette);

        // The angle box keeps the length box's width.
        AIReal largeurTexteAngle = 0.0f;
        DemiDimensions(message, texteAngle, taille.marge, demiHauteur, largeurTexteAngle);

        const AIRect boiteAngle = BoiteEtiquette(
            PixelTronque(pv + demiHauteur + kBaisseBoiteAngle - taille.hausseAngle), demiHauteur, gauche, demiLargeur);
        sAIAnnotatorDrawer->SetColor(drawer, kNoir);
        sAIAnnotatorDrawer->DrawRect(drawer, boiteAngle, true);
        sAIAnnotatorDrawer->DrawRect(drawer, boiteAngle, false);
        sAIAnnotatorDrawer->SetColor(drawer, kBlanc);

        const AIRect rectTexteAngle = BoiteEtiquette(
            PixelTronque(pv + demiHauteur + kBaisseTexteAngle - taille.hausseAngle), demiHauteur, gauche, demiLargeur);
        erreur = sAIAnnotatorDrawer->DrawTextAligned(drawer, texteAngle.GetHandle(), kAIATextAlignCenter,
                                                     kAIATextAlignCenter, rectTexteAngle);
    } catch (const ai::Error& echec) {
        erreur = echec;
    }
    return erreur;
}

ASErr TraceAnnoteTextePourFermerLigneBrisee(AIAnnotatorMessage* message) {
    if (!SurPoint) return kNoErr;
    ASErr erreur = TraceAnnotePoint(message, Provis.p);
    AIPoint position = PointVue(message, PosTexteAnno, erreur);
    position.v = Decale(position.v, kBaisseIndice);
    const AIReal tolerance = static_cast<AIReal>(DistanceMagnetisme);
    if (NbPoints > 2 && sMath->AIRealPointClose(&Provis.p, &OrigineLigneBrisee, tolerance)) {
        position.h = Decale(position.h, -kRetraitIndiceFermer);
        erreur = TraceIndice(message, kTexteFermer, position);
    } else if (NbPoints > 1 && sMath->AIRealPointClose(&Provis.p, &ClicUn, tolerance)) {
        position.h = Decale(position.h, -kRetraitIndiceFinir);
        erreur = TraceIndice(message, kTexteFinir, position);
    }
    return erreur;
}

ASErr TraceAnnoteCourbeEntiereBezier(AIAnnotatorMessage* message, AIRGBColor couleur, AIReal epaisseur,
                                     const AIArtHandle& chemin) {
    AIAnnotatorDrawer* drawer = message->drawer;
    ASInt16 nombre = 0;
    AIBoolean ferme = false;
    sAIPath->GetPathSegmentCount(chemin, &nombre);
    sAIPath->GetPathClosed(chemin, &ferme);
    sAIAnnotatorDrawer->SetLineWidth(drawer, epaisseur);
    ASErr erreur = sAIAnnotatorDrawer->SetColor(drawer, couleur);
    // Without an anchor there is neither a start nor a piece.
    if (nombre < 1) return erreur;

    BlocHote bloc(static_cast<std::size_t>(nombre) * sizeof(AIAnnotatorBezierPiece));
    auto* morceaux = static_cast<AIAnnotatorBezierPiece*>(bloc.Get());
    if (!morceaux) return kOutOfMemoryErr;

    AIPathSegment premier = {};
    sAIPath->GetPathSegments(chemin, 0, 1, &premier);
    const AIPoint depart = PointVue(message, premier.p);
    AIPathSegment a = premier;
    for (ASInt16 i = 0; i + 1 < nombre; ++i) {
        AIPathSegment b = {};
        sAIPath->GetPathSegments(chemin, static_cast<ASInt16>(i + 1), 1, &b);
        morceaux[i] = {PointVue(message, a.out), PointVue(message, b.in), PointVue(message, b.p)};
        a = b;
    }
    ASInt32 compte = nombre - 1;
    if (ferme) {
        morceaux[nombre - 1] = {PointVue(message, a.out), PointVue(message, premier.in), PointVue(message, premier.p)};
        compte = nombre;
    }
    return sAIAnnotatorDrawer->DrawBeziers(drawer, depart, morceaux, compte, false);
}
