// Rectangles of dialog pixels, written the way the dialogs' layouts and drawings give them.
#pragma once

#include "ASTypes.h"

/// An item's rectangle from its left, top, width and height.
constexpr ASRect RectItem(ASInt16 gauche, ASInt16 haut, ASInt16 largeur, ASInt16 hauteur) {
    return {haut, gauche, static_cast<ASInt16>(haut + hauteur), static_cast<ASInt16>(gauche + largeur)};
}

/// A rectangle from its edges in the order left, top, right, bottom.
constexpr ASRect RectBords(ASInt16 gauche, ASInt16 haut, ASInt16 droite, ASInt16 bas) {
    return {haut, gauche, bas, droite};
}

/// A text's anchor: the left end of its baseline.
constexpr ASPoint PointTexte(ASInt16 gauche, ASInt16 ligneDeBase) {
    return {ligneDeBase, gauche};
}
