// Every suite of the dialog manager.
#pragma once

#include "ADMBasic.h"
#include "ADMDialog.h"
#include "ADMDrawer.h"
#include "ADMIcon.h"
#include "ADMItem.h"
#include "ADMList.h"
#include "ADMNotifier.h"
