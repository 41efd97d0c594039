#include "Survol.h"

#include <cmath>
#include <new>
#include <utility>

#include "ASMemory.h"
#include "EtatOutil.h"
#include "OrvaneSuites.h"
#include "Utilitaires.h"

namespace {

/// Tolerance of the crossing re-test: only art passing right under the cursor counts.
constexpr AIReal kToleranceCroisement = 2.0f;
/// Distance of the hint texts from the cursor, in view pixels.
constexpr AIReal kDecalageTexte = 12.0f;
/// Asks the host's cursor snap for the crossing of two paths nearest the cursor.
constexpr const char* kSnapCroisement = "A i o";

/// What one hit test found.
struct Touche {
    bool trouve = false;
    AIToolHitData donnees{};
    ASInt32 type = kNothingHitType;
};

/// Hit-tests all art of the document at the point; the host's result goes into erreur.
Touche TesteSous(AIRealPoint point, AIReal tolerance, ASInt32 requete, ASErr& erreur) {
    Touche touche;
    AIHitRef resultat = nullptr;
    erreur = sAIHit->HitTestEx(nullptr, &point, tolerance, requete, &resultat);
    if (erreur || !resultat) return touche;
    if (sAIHit->GetHitData(resultat, &touche.donnees) != kNoErr) touche.donnees = {};
    touche.type = sAIHit->GetType(resultat);
    erreur = sAIHit->Release(resultat);
    touche.trouve = touche.donnees.hit && touche.donnees.object;
    return touche;
}

/// The front view's zoom factor; 1 when the host has no usable one.
AIReal ZoomDeLaVue(AIDocumentViewHandle& vue) {
    AIReal zoom = 1.0f;
    if (sAIDocumentView->GetNthDocumentView(0, &vue) != kNoErr) vue = nullptr;
    if (vue && sAIDocumentView->GetDocumentViewZoom(vue, &zoom) == kNoErr && zoom > 0.0f && std::isfinite(zoom))
        return zoom;
    return 1.0f;
}

ASInt16 NombreDAncres(AIArtHandle chemin) {
    ASInt16 nombre = 0;
    if (sAIPath->GetPathSegmentCount(chemin, &nombre) != kNoErr) return 0;
    return nombre;
}

/// True when the art is an open path and the point lies near its first or its last anchor.
bool EstBoutDeCheminOuvert(AIArtHandle art, AIRealPoint point) {
    ASInt16 type = kUnknownArt;
    AIBoolean ferme = true;
    if (sAIArt->GetArtType(art, &type) != kNoErr || type != kPathArt) return false;
    if (sAIPath->GetPathClosed(art, &ferme) != kNoErr || ferme) return false;
    const ASInt16 nombre = NombreDAncres(art);
    if (nombre < 1) return false;
    AIPathSegment premier{};
    AIPathSegment dernier{};
    if (sAIPath->GetPathSegments(art, 0, 1, &premier) != kNoErr) return false;
    if (sAIPath->GetPathSegments(art, static_cast<ASInt16>(nombre - 1), 1, &dernier) != kNoErr) return false;
    return DansLaTolerance(point, premier.p) || DansLaTolerance(point, dernier.p);
}

/// True when the piece of the path that starts at anchor NumPt1 is the last segment
/// of the polyline in progress.
bool EstDernierSegmentDeLaLigne(AIArtHandle chemin) {
    return NbPoints >= 2 && chemin == AHLigne && sAIArt->ValidArt(AHLigne, true) &&
           NumPt1 == NombreDAncres(AHLigne) - 2;
}

bool EstDroite(const AIRealBezier& piece) {
    return piece.p1.h == piece.p0.h && piece.p1.v == piece.p0.v && piece.p2.h == piece.p3.h && piece.p2.v == piece.p3.v;
}

/// The cursor that tells the shape of the piece; a straight last segment of the
/// polyline in progress is offered for removal.
ASInt32 FormeDeLaPiece(AIArtHandle chemin, const AIRealBezier& piece) {
    if (EstDroite(piece)) {
        if (!EstDernierSegmentDeLaLigne(chemin)) return curseur::kSurDroite;
        SupprimerSegment = true;
        return curseur::kSupprimerSegment;
    }
    const AIPathSegment debut = {piece.p0, piece.p0, piece.p1, false};
    const AIPathSegment fin = {piece.p3, piece.p2, piece.p3, false};
    return EstArcDeCercle(chemin, debut, fin, false) ? curseur::kSurArc : curseur::kSurCourbe;
}

}  // namespace

ASErr Survol(AIToolMessage* message) {
    DistanceMagnetisme = etat::kDistanceMagnetisme;
    SurPoint = false;
    SurIntersection = false;
    SupprimerSegment = false;
    AjouterSegment = false;
    const SPPluginRef plugIn = message->d.self;

    AIDocumentViewHandle vue = nullptr;
    const AIReal zoom = ZoomDeLaVue(vue);
    const AIRealPoint curseur = message->cursor;
    PositionCurseur = curseur;
    PosTexteAnno = {curseur.h + kDecalageTexte / zoom, curseur.v - kDecalageTexte / zoom};

    ASErr erreur = kNoErr;
    const auto tolerance = static_cast<AIReal>(DistanceMagnetisme);
    const Touche ancre = TesteSous(curseur, tolerance, kSegmentPointHitRequest, erreur);
    if (ancre.trouve) {
        SurChemin = ancre.donnees.object;
        Provis.p = ancre.donnees.point;
        NumPt1 = ancre.donnees.segment;
        // Idle, the open end of a path is offered for extension rather than remembered.
        if (NbPoints == 0 && EstBoutDeCheminOuvert(SurChemin, Provis.p)) {
            AjouterSegment = true;
            sADMBasic->SetPlatformCursor(plugIn, curseur::kAjouterSegment);
            return erreur;
        }
        SurPoint = true;
        sADMBasic->SetPlatformCursor(plugIn, curseur::kSurPoint);
        Souvenir(Provis.p);
        return erreur;
    }

    const Touche contour = TesteSous(curseur, tolerance, kPathOutlineHitRequest, erreur);
    if (!contour.trouve) {
        sADMBasic->SetPlatformCursor(plugIn, curseur::kNormal);
        return erreur;
    }
    if (contour.type != kSegmentHitType) return erreur;

    const AIArtHandle chemin = contour.donnees.object;
    SurChemin = chemin;
    // The hit names the anchor that ends the piece; 0 is the closing piece of a closed path.
    const ASInt16 fin = contour.donnees.segment;
    NumPt1 = static_cast<ASInt16>((fin == 0 ? NombreDAncres(chemin) : fin) - 1);

    // Locked, the hovered path hides from the re-test, which then finds only other art.
    sAIArt->SetArtUserAttr(chemin, kArtLocked, kArtLocked);
    const Touche autre = TesteSous(curseur, kToleranceCroisement, kPathOutlineHitRequest, erreur);
    sAIArt->SetArtUserAttr(chemin, kArtLocked, 0);
    if (autre.type == kSegmentHitType) {
        SurIntersection = true;
        sADMBasic->SetPlatformCursor(plugIn, curseur::kSurIntersection);
        AIRealPoint croisement = curseur;
        erreur = sAICursorSnap->Track(vue, curseur, message->event, kSnapCroisement, &croisement);
        Provis.p = erreur ? curseur : croisement;
        return erreur;
    }

    AIRealBezier piece{};
    erreur = sAIPath->GetPathBezier(chemin, NumPt1, &piece);
    if (erreur) return erreur;
    sADMBasic->SetPlatformCursor(plugIn, FormeDeLaPiece(chemin, piece));
    return erreur;
}

bool DansLaTolerance(AIRealPoint a, AIRealPoint b) {
    return sMath->AIRealPointClose(&a, &b, static_cast<AIReal>(DistanceMagnetisme));
}

void Souvenir(AIRealPoint point) {
    ASInt32 nombre = 0;
    for (const Souvenir_t* noeud = PtrPremierSouvenir; noeud; noeud = noeud->suivant) {
        if (noeud->h == point.h && noeud->v == point.v) return;
        ++nombre;
    }

    if (!PtrPremierSouvenir || nombre < NombreMaxSouvenirs) {
        void* bloc = ASMemory::Allocate(sizeof(Souvenir_t));
        if (!bloc) {
            sADMBasic->Beep();
            return;
        }
        PtrPremierSouvenir = new (bloc) Souvenir_t{PtrPremierSouvenir, point.h, point.v};
        return;
    }

    // Full: every point moves one node towards the end, the oldest drops off, and the
    // new one takes the first node; nothing is allocated.
    AIRealPoint porte = point;
    for (Souvenir_t* noeud = PtrPremierSouvenir; noeud; noeud = noeud->suivant) {
        std::swap(porte.h, noeud->h);
        std::swap(porte.v, noeud->v);
    }
}

void LibereSouvenirs() {
    while (PtrPremierSouvenir) {
        Souvenir_t* suivant = PtrPremierSouvenir->suivant;
        ASMemory::Free(PtrPremierSouvenir);
        PtrPremierSouvenir = suivant;
    }
}
