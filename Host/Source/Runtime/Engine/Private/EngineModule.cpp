// Copyright Quarn. All Rights Reserved.

#include "Modules/ModuleManager.h"
#include "Host/ObjectLoading.h"
#include "TextureLoader.h"

// The Engine module's start-up registers what loads its assets: without package files, textures
// come from the project's PNG files.
class FEngineModule : public IModuleInterface
{
public:
	virtual void StartupModule() override
	{
		TextureLoaderHandle = UE::Host::RegisterAssetLoader(&UE::Engine::Private::LoadTextureAsset);
	}

	virtual void ShutdownModule() override
	{
		UE::Host::UnregisterAssetLoader(TextureLoaderHandle);
		TextureLoaderHandle.Reset();
	}

private:
	FDelegateHandle TextureLoaderHandle;
};

IMPLEMENT_MODULE(FEngineModule, Engine);
