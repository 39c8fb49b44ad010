#include "app/edition.h"

const Edition kEditionIvy = {ClSysEnvMgr::APP_IVY, "Ivy", "Orvano２１ Tessel"};
const Edition kEditionOak = {ClSysEnvMgr::APP_OAK, "Oak", "Orvano２１ Quill"};
const Edition kEditionElm = {ClSysEnvMgr::APP_ELM, "Elm", "Orvano２１"};
