#include "app/CCorvaneApp.h"

wxIMPLEMENT_APP(CCorvaneApp);
