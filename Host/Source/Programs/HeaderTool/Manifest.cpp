// The module manifest: one line per reflected type, tab-separated key=value fields, read by the
// runs of modules that depend on this one so that they can resolve its types.
#include "HeaderTool.h"

#include <fstream>
#include <sstream>

namespace HeaderTool
{
	namespace
	{
		const char* KindName(EDeclKind Kind)
		{
			switch (Kind)
			{
			case EDeclKind::Class: return "class";
			case EDeclKind::Struct: return "struct";
			case EDeclKind::Enum: return "enum";
			case EDeclKind::Delegate: return "delegate";
			case EDeclKind::Interface: return "interface";
			}
			return "class";
		}

		const char* FormName(EEnumForm Form)
		{
			return Form == EEnumForm::EnumClass ? "class" : Form == EEnumForm::Namespaced ? "namespace" : "regular";
		}

		// Tabs and newlines never occur in the values written; they are the separators.
		std::string Field(const char* Key, const std::string& Value)
		{
			return std::string("\t") + Key + "=" + Value;
		}
	}

	bool WriteManifest(const FSession& Session, const std::string& Path)
	{
		std::ostringstream Out;
		Out << "# Reflected types of module " << Session.Module.Name << ", written by the header tool.\n";
		Out << "module\t" << Session.Module.Name << "\n";
		for (const auto& [Name, T] : Session.Types)
		{
			if (T.Module != Session.Module.Name)
			{
				continue;
			}
			Out << KindName(T.Kind) << Field("name", T.Name) << Field("module", T.Module) << Field("super", T.Super)
				<< Field("include", T.IncludePath) << Field("bp", T.bBlueprintType ? "1" : "0");
			if (T.Kind == EDeclKind::Class || T.Kind == EDeclKind::Interface)
			{
				char Buffer[16];
				std::snprintf(Buffer, sizeof(Buffer), "%08X", T.ClassFlags);
				Out << Field("flags", Buffer) << Field("config", T.ConfigName) << Field("intrinsic", T.bIntrinsic ? "1" : "0");
			}
			if (T.Kind == EDeclKind::Struct)
			{
				Out << Field("noexport", T.bNoExport ? "1" : "0");
			}
			if (T.Kind == EDeclKind::Enum)
			{
				Out << Field("underlying", T.Underlying) << Field("form", FormName(T.EnumForm));
			}
			if (T.Kind == EDeclKind::Delegate)
			{
				Out << Field("multicast", T.bMulticast ? "1" : "0") << Field("signature", T.Signature);
			}
			Out << "\n";
		}
		return WriteFileIfChanged(Path, Out.str());
	}

	bool ReadManifest(FSession& Session, const std::string& Path)
	{
		std::ifstream In(Path);
		if (!In)
		{
			return false;
		}
		std::string Line;
		while (std::getline(In, Line))
		{
			if (Line.empty() || Line[0] == '#')
			{
				continue;
			}
			std::vector<std::string> Parts;
			std::string Part;
			std::istringstream Fields(Line);
			while (std::getline(Fields, Part, '\t'))
			{
				Parts.push_back(Part);
			}
			if (Parts.empty() || Parts[0] == "module")
			{
				continue;
			}
			std::map<std::string, std::string> Values;
			for (size_t I = 1; I < Parts.size(); ++I)
			{
				const size_t Eq = Parts[I].find('=');
				if (Eq != std::string::npos)
				{
					Values[Parts[I].substr(0, Eq)] = Parts[I].substr(Eq + 1);
				}
			}
			FKnownType T;
			const std::string& Kind = Parts[0];
			T.Kind = Kind == "struct" ? EDeclKind::Struct : Kind == "enum" ? EDeclKind::Enum : Kind == "delegate" ? EDeclKind::Delegate
				: Kind == "interface" ? EDeclKind::Interface : EDeclKind::Class;
			T.Name = Values["name"];
			T.Module = Values["module"];
			T.Super = Values["super"];
			T.IncludePath = Values["include"];
			T.bBlueprintType = Values["bp"] == "1";
			T.ClassFlags = Values["flags"].empty() ? 0 : (uint32_t)std::stoul(Values["flags"], nullptr, 16);
			T.ConfigName = Values["config"];
			T.bIntrinsic = Values["intrinsic"] == "1";
			T.bNoExport = Values["noexport"] == "1";
			T.Underlying = Values["underlying"];
			T.EnumForm = Values["form"] == "namespace" ? EEnumForm::Namespaced : Values["form"] == "regular" ? EEnumForm::Regular : EEnumForm::EnumClass;
			T.bMulticast = Values["multicast"] == "1";
			T.Signature = Values["signature"];
			if (!T.Name.empty())
			{
				Session.Types[T.Name] = T;
			}
		}
		return true;
	}
}
