// Copyright Quarn. All Rights Reserved.

using UnrealBuildTool;

public class QuarnUI : ModuleRules
{
	public QuarnUI(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"UMG",
			"QuarnCore",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"Json",
			"Slate",
			"SlateCore",
		});
	}
}
