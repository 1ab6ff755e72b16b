#include "Modules/ModuleManager.h"

// CoreUObject's types register during static initialisation; the module itself has no state.
IMPLEMENT_MODULE(FDefaultModuleImpl, CoreUObject);
