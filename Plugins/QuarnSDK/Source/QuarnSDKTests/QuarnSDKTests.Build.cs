// Copyright Quarn. All Rights Reserved.

using UnrealBuildTool;

// The plug-in's automation tests and the reflected stand-ins they bind (pin recorders, watchers, a
// recording panel, icon rows, an idle net driver). A DeveloperTool module: built for the editor and
// for Development targets, never for Test or Shipping, so none of these types reaches a packaged
// game. A game module must not depend on it.
public class QuarnSDKTests : ModuleRules
{
	public QuarnSDKTests(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"UMG",
			"QuarnCore",
			"QuarnUSME",
			"QuarnUI",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"Json",
			"Slate",
			"SlateCore",
		});
	}
}
