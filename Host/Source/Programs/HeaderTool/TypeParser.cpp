// Reads a C++ declaration type (property, parameter or return value) into an unresolved FType.
#include "TypeParser.h"

#include <map>

namespace HeaderTool
{
	namespace
	{
		const std::map<std::string, ETypeKind>& Builtins()
		{
			static const std::map<std::string, ETypeKind> Map = {
				{"int8", ETypeKind::Int8}, {"int16", ETypeKind::Int16}, {"int32", ETypeKind::Int32},
				{"int64", ETypeKind::Int64}, {"uint8", ETypeKind::Byte}, {"uint16", ETypeKind::UInt16},
				{"uint32", ETypeKind::UInt32}, {"uint64", ETypeKind::UInt64}, {"float", ETypeKind::Float},
				{"double", ETypeKind::Double}, {"bool", ETypeKind::Bool}, {"FString", ETypeKind::Str},
				{"FName", ETypeKind::Name}, {"FText", ETypeKind::Text}, {"void", ETypeKind::Void},
				{"int", ETypeKind::Int32}, {"UClass", ETypeKind::Class}};
			return Map;
		}

		std::string JoinTemplate(const std::string& Name, const std::vector<FType>& Args, bool bCpp)
		{
			std::string Out = Name + "<";
			for (size_t I = 0; I < Args.size(); ++I)
			{
				Out += (I ? ", " : "");
				Out += bCpp ? Args[I].CppType : Args[I].Decl;
			}
			return Out + ">";
		}
	}

	FType ParseType(FTokenReader& Reader, bool bTemplateArgument)
	{
		FType Type;
		Type.Line = Reader.Line();
		bool bLeadingConst = false;
		while (true)
		{
			if (Reader.Accept("const"))
			{
				bLeadingConst = true;
				continue;
			}
			if (Reader.Peek().Is("class") || Reader.Peek().Is("struct") || Reader.Peek().Is("enum") || Reader.Peek().Is("typename"))
			{
				Reader.Next();
				continue;
			}
			if (Reader.Peek().Is("mutable") || Reader.Peek().Is("volatile"))
			{
				Reader.Next();
				continue;
			}
			break;
		}
		if (!Reader.Peek().IsIdentifier())
		{
			Reader.Fail("Missing variable type");
		}
		std::string Name = Reader.Next().Text;
		while (Reader.Peek().Is("::") && Reader.Peek(1).IsIdentifier())
		{
			Reader.Next();
			Name += "::" + Reader.Next().Text;
		}
		if (Name == "unsigned" || Name == "signed")
		{
			Reader.Fail("Type '" + Name + "' is not supported, use a sized integer type");
		}

		std::vector<FType> Args;
		if (Reader.Peek().Is("<"))
		{
			Reader.Next();
			while (true)
			{
				if (Reader.Peek().Type == ETokenType::Number)
				{
					// Non-type template argument (e.g. an inline allocator size).
					FType Arg;
					Arg.Decl = Arg.CppType = Reader.Next().Text;
					Arg.Kind = ETypeKind::Void;
					Args.push_back(Arg);
				}
				else
				{
					Args.push_back(ParseType(Reader, true));
				}
				if (Reader.Accept(","))
				{
					continue;
				}
				Reader.Require(">", "template argument list");
				break;
			}
		}

		bool bTrailingConst = false;
		while (Reader.Accept("const"))
		{
			bTrailingConst = true;
		}
		int Pointers = 0;
		while (Reader.Peek().Is("*"))
		{
			Reader.Next();
			++Pointers;
			while (Reader.Accept("const"))
			{
			}
		}
		bool bRef = false;
		if (Reader.Peek().Is("&"))
		{
			Reader.Next();
			bRef = true;
			if (Reader.Peek().Is("&"))
			{
				Reader.Fail("Rvalue references are not supported");
			}
		}
		if (Pointers > 1)
		{
			Reader.Fail("Inappropriate '*' on variable of type '" + Name + "*', cannot have an exposed pointer to this type.");
		}

		Type.bConst = bLeadingConst || bTrailingConst;
		Type.bPointer = Pointers == 1;
		Type.bReference = bRef;
		Type.TypeName = Name;

		const auto& Map = Builtins();
		const auto Found = Map.find(Name);
		if (Found != Map.end() && Args.empty())
		{
			Type.Kind = Found->second;
			if (Type.Kind == ETypeKind::Class)
			{
				// UClass* is a class reference whose meta class is UObject.
				Type.MetaClassName = "UObject";
				if (!Type.bPointer)
				{
					Reader.Fail("Inappropriate keyword 'UClass' without '*'");
				}
			}
		}
		else if (!Args.empty())
		{
			Type.Inner = Args;
			if (Name == "TArray")
			{
				Type.Kind = ETypeKind::Array;
				if (Args.size() > 1)
				{
					throw FParseError{Type.Line, "Found '" + Args[1].Decl + "' - explicit allocators are not supported in TArray properties."};
				}
			}
			else if (Name == "TMap")
			{
				Type.Kind = ETypeKind::Map;
				if (Args.size() != 2)
				{
					throw FParseError{Type.Line, "Found '" + (Args.size() > 2 ? Args[2].Decl : std::string("TMap")) + "' - explicit KeyFuncs are not supported in TMap properties."};
				}
			}
			else if (Name == "TSet")
			{
				Type.Kind = ETypeKind::Set;
				if (Args.size() > 1)
				{
					throw FParseError{Type.Line, "Found '" + Args[1].Decl + "' - explicit KeyFuncs are not supported in TSet properties."};
				}
			}
			else if (Name == "TObjectPtr" || Name == "TWeakObjectPtr" || Name == "TSoftObjectPtr" || Name == "TSoftClassPtr"
				|| Name == "TSubclassOf" || Name == "TScriptInterface" || Name == "TEnumAsByte" || Name == "TLazyObjectPtr")
			{
				const FType& Arg = Args[0];
				Type.Kind = Name == "TObjectPtr" ? ETypeKind::ObjectPtr
					: Name == "TWeakObjectPtr" ? ETypeKind::WeakObject
					: Name == "TSoftObjectPtr" ? ETypeKind::SoftObject
					: Name == "TSoftClassPtr" ? ETypeKind::SoftClass
					: Name == "TSubclassOf" ? ETypeKind::Class
					: Name == "TScriptInterface" ? ETypeKind::Interface
					: Name == "TEnumAsByte" ? ETypeKind::EnumAsByte
					: ETypeKind::WeakObject;
				Type.TypeName = Arg.TypeName;
				Type.bInnerConst = Arg.bConst;
				if (Type.Kind == ETypeKind::Class || Type.Kind == ETypeKind::SoftClass)
				{
					Type.MetaClassName = Arg.TypeName;
					Type.bSubclassOf = Type.Kind == ETypeKind::Class;
				}
				if (Type.Kind == ETypeKind::EnumAsByte)
				{
					// TEnumAsByte<EFoo::Type> names the namespace.
					const size_t Scope = Type.TypeName.find("::");
					if (Scope != std::string::npos)
					{
						Type.TypeName = Type.TypeName.substr(0, Scope);
					}
				}
				Type.Inner.clear();
				Type.bNeedsResolve = true;
			}
			else
			{
				Reader.Fail("Unable to find 'class', 'delegate', 'enum', or 'struct' with name '" + Name + "'");
			}
		}
		else
		{
			Type.bNeedsResolve = true;
			// EFoo::Type names a namespaced enum.
			const size_t Scope = Name.find("::");
			if (Scope != std::string::npos && Name.substr(Scope) == "::Type")
			{
				Type.TypeName = Name.substr(0, Scope);
			}
		}

		// Text as written, for messages, and the value type, for generated code.
		std::string Base = Args.empty() ? Name : JoinTemplate(Name, Args, false);
		std::string Cpp = Args.empty() ? Name : JoinTemplate(Name, Args, true);
		if (Type.bPointer)
		{
			Base += "*";
			Cpp = (Type.bConst ? "const " : "") + Cpp + "*";
		}
		Type.Decl = Base;
		Type.CppType = Cpp;
		(void)bTemplateArgument;
		return Type;
	}
}
