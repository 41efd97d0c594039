// The annotator's drawing pass: the rubber band, the alignment guides, the point
// marker, the closing hints, the outline of the path a click would act on and the
// length and angle labels, drawn over the view at each redraw from the tool's state.
#pragma once

#include "AIMessages.h"
#include "AITypes.h"
#include "EtatOutil.h"
#include "NombreEnChaine.h"

/// Where the labels format their numbers and units.
extern char TexteLigne[kTailleTexteLigne];

/// One drawing pass for the message's view and drawer; the result of the last step.
ASErr toolAnnotate(AIAnnotatorMessage* message);

/// A circle around the point's pixel, at width 2; the width is 1 afterwards.
ASErr TraceAnnotePoint(AIAnnotatorMessage* message, AIRealPoint point);
/// The dashed rubber band from ClicUn to ClicDeux.
ASErr TraceAnnoteLigneBrisee(AIAnnotatorMessage* message);
/// The horizontal guide through the first remembered point level with the cursor;
/// sets SurGuideHoriz and PosCurseurSurGuideV, which the next click snaps to.
ASErr TraceAnnoteGuidesHoriz(AIAnnotatorMessage* message);
/// The vertical guide; sets SurGuideVerti and PosCurseurSurGuideH.
ASErr TraceAnnoteGuidesVerti(AIAnnotatorMessage* message);
/// The length and angle labels at the middle of the rubber band.
ASErr TraceAnnoteTexteLongueurLigneBrisee(AIAnnotatorMessage* message);
/// On a hovered anchor: its marker and, where a click would close or finish the
/// polyline, the hint and the outline of the hovered path.
ASErr TraceAnnoteTextePourFermerLigneBrisee(AIAnnotatorMessage* message);
/// The outline of the whole path, curves included, in the colour and width given;
/// they stay in force afterwards.
ASErr TraceAnnoteCourbeEntiereBezier(AIAnnotatorMessage* message, AIRGBColor couleur, AIReal epaisseur,
                                     const AIArtHandle& chemin);

/// A guide-colour preference (0 to 1) as a 16-bit component: scaled in single precision,
/// truncated toward zero and kept in 16 bits. A value too large to scale gives 0, as an
/// unreadable one does.
ASUInt16 ComposanteCouleurGuide(double valeur);

/// The first remembered point, in list order, whose coordinate (h or v, chosen by the
/// member) lies strictly closer than the tolerance to the cursor's; null when none does.
const Souvenir_t* SouvenirAligne(const Souvenir_t* premier, AIReal curseur, AIReal tolerance,
                                 AIReal Souvenir_t::*coordonnee);

/// A coordinate truncated toward zero to a pixel, kept within 16 bits.
ASInt16 PixelTronque(AIReal coordonnee);

/// A label's box: from the v-edge bordV1 to bordV1 - 2 × demiHauteur and from gauche to
/// gauche + 2 × demiLargeur, each edge truncated to a pixel before the next is derived
/// from it; the edges of each pair in increasing order.
AIRect BoiteEtiquette(ASInt16 bordV1, AIReal demiHauteur, AIReal gauche, AIReal demiLargeur);
