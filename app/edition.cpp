#include "app/edition.h"
#include "texts/catalogue.h"

const Edition kEditionIvy = {ClSysEnvMgr::APP_IVY, "Ivy", texts::kIvyProductName};
const Edition kEditionOak = {ClSysEnvMgr::APP_OAK, "Oak", texts::kOakProductName};
const Edition kEditionElm = {ClSysEnvMgr::APP_ELM, "Elm", texts::kElmProductName};
