#include "Reglages.h"

double EchelleNum = 0.0;
double EchelleDen = 0.0;
double EchelleNumPerso = 0.0;
double EchelleDenPerso = 0.0;
ASInt32 Precision = 0;
ASInt32 TailleTexteAnnotations = 0;
double ContrainteLongueur = 0.0;
double ContrainteAngle = 0.0;
bool ShiftAltInverse = false;
bool PanneauVisible = false;
double Echelle = 0.0;

double EchelleNumProv = 0.0;
double EchelleDenProv = 0.0;
ASInt32 PrecisionProv = 0;
ASInt32 TailleTexteAnnotationsProv = 0;
double ContrainteLongueurProv = 0.0;
double ContrainteAngleProv = 0.0;
bool ShiftAltInverseProv = false;
