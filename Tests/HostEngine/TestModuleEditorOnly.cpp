#include "TestModules.h"
#include "Modules/ModuleManager.h"

namespace
{
	const TCHAR* ModuleNameEditorOnly() { return TEXT("EditorOnly"); }
}

IMPLEMENT_MODULE(TRecordingTestModule<&ModuleNameEditorOnly>, HostEngineTestEditorOnly)
