#include "Specifiers.h"

#include <cctype>

namespace HeaderTool
{
	namespace
	{
		bool HasExponent(const FToken& T)
		{
			if (T.Type != ETokenType::Number)
			{
				return false;
			}
			if (T.Text.size() > 1 && T.Text[0] == '0' && (T.Text[1] == 'x' || T.Text[1] == 'X'))
			{
				return false;
			}
			return T.Text.find_first_of("eE") != std::string::npos;
		}

		// Reads one value: everything up to the next top-level ',' or ')'.
		std::string ReadValue(FTokenReader& Reader, bool bMetaValue)
		{
			std::string Out;
			int Depth = 0;
			const FToken* Previous = nullptr;
			size_t Count = 0;
			const FToken* Only = nullptr;
			while (!Reader.AtEnd())
			{
				const FToken& T = Reader.Peek();
				if (Depth == 0 && (T.Is(",") || T.Is(")")))
				{
					break;
				}
				if (T.Is("("))
				{
					++Depth;
				}
				else if (T.Is(")"))
				{
					--Depth;
				}
				if (HasExponent(T))
				{
					throw FParseError{T.Line, "Metadata and specifier values can not contain exponential notion at this time"};
				}
				Reader.Next();
				if (Previous && (Previous->IsIdentifier() || Previous->Type == ETokenType::Number)
					&& (T.IsIdentifier() || T.Type == ETokenType::Number))
				{
					Out += ' ';
				}
				Out += T.Type == ETokenType::String ? Unquote(T.Text) : T.Text;
				Previous = &T;
				Only = &T;
				++Count;
			}
			if (bMetaValue && Count == 1 && Only->IsIdentifier() && (EqualsIgnoreCase(Only->Text, "true") || EqualsIgnoreCase(Only->Text, "false")))
			{
				return ToUpper(Only->Text);
			}
			return Out;
		}
	}

	std::vector<FSpecifier> ReadSpecifiers(FTokenReader& Reader)
	{
		std::vector<FSpecifier> Specs;
		Reader.Require("(", "specifier list");
		if (Reader.Accept(")"))
		{
			return Specs;
		}
		while (true)
		{
			FSpecifier Spec;
			Spec.Line = Reader.Line();
			const FToken& NameTok = Reader.Next();
			if (!NameTok.IsIdentifier())
			{
				throw FParseError{NameTok.Line, "Expected specifier name, found '" + NameTok.Text + "'"};
			}
			Spec.Name = NameTok.Text;
			const bool bIsMeta = EqualsIgnoreCase(Spec.Name, "meta");
			if (Reader.Accept("="))
			{
				Spec.bHasValue = true;
				if (Reader.Peek().Is("("))
				{
					Reader.Next();
					Spec.bList = true;
					while (!Reader.Peek().Is(")"))
					{
						if (Reader.AtEnd())
						{
							Reader.Fail("Unexpected end of file in specifier list");
						}
						if (bIsMeta)
						{
							std::string Key;
							while (!Reader.AtEnd() && !Reader.Peek().Is("=") && !Reader.Peek().Is(",") && !Reader.Peek().Is(")"))
							{
								const FToken& K = Reader.Next();
								Key += K.Type == ETokenType::String ? Unquote(K.Text) : K.Text;
							}
							std::string Value;
							if (Reader.Accept("="))
							{
								Value = ReadValue(Reader, true);
							}
							Spec.KeyValues.emplace_back(Key, Value);
						}
						else
						{
							Spec.Values.push_back(ReadValue(Reader, false));
						}
						if (!Reader.Accept(","))
						{
							break;
						}
					}
					Reader.Require(")", "specifier value list");
				}
				else
				{
					Spec.Values.push_back(ReadValue(Reader, false));
				}
			}
			else if (bIsMeta && Reader.Peek().Is("("))
			{
				// meta(K=V) without '=' is read the same way.
				Spec.bHasValue = true;
				Spec.bList = true;
				Reader.Next();
				while (!Reader.Peek().Is(")") && !Reader.AtEnd())
				{
					std::string Key;
					while (!Reader.AtEnd() && !Reader.Peek().Is("=") && !Reader.Peek().Is(",") && !Reader.Peek().Is(")"))
					{
						const FToken& K = Reader.Next();
						Key += K.Type == ETokenType::String ? Unquote(K.Text) : K.Text;
					}
					std::string Value;
					if (Reader.Accept("="))
					{
						Value = ReadValue(Reader, true);
					}
					Spec.KeyValues.emplace_back(Key, Value);
					if (!Reader.Accept(","))
					{
						break;
					}
				}
				Reader.Require(")", "metadata list");
			}
			Specs.push_back(std::move(Spec));
			if (Reader.Accept(")"))
			{
				break;
			}
			if (!Reader.Accept(","))
			{
				Reader.Fail("Expected ',' or ')' in specifier list, found '" + Reader.Peek().Text + "'");
			}
		}
		return Specs;
	}

	void ReadMetaList(FTokenReader& Reader, FMetaData& Meta, const std::string& KeyPrefix, const std::string& Context)
	{
		const int Line = Reader.Line();
		Reader.Require("(", "UMETA");
		if (Reader.Peek().Is(")"))
		{
			throw FParseError{Line, "No metadata specified while parsing " + Context};
		}
		while (true)
		{
			if (Reader.Peek().Is("="))
			{
				throw FParseError{Reader.Line(), "UMETA expects a key and optional value"};
			}
			const FToken& KeyTok = Reader.RequireIdentifier("UMETA");
			std::string Value;
			if (Reader.Accept("="))
			{
				if (Reader.Peek().Is(",") || Reader.Peek().Is(")"))
				{
					throw FParseError{KeyTok.Line, "UMETA key '" + KeyTok.Text + "' expects a value"};
				}
				Value = ReadValue(Reader, true);
			}
			Meta[KeyPrefix + KeyTok.Text] = Value;
			if (Reader.Accept(")"))
			{
				break;
			}
			Reader.Require(",", "UMETA");
		}
	}

	void CheckSpecifierValue(const FSpecifier& Spec, ESpecValue Kind, FSession& Session, const std::string& File)
	{
		switch (Kind)
		{
		case ESpecValue::None:
			if (Spec.bHasValue)
			{
				throw FParseError{Spec.Line, "The specifier '" + Spec.Name + "' found a value when none was expected"};
			}
			break;
		case ESpecValue::Legacy:
			if (Spec.bHasValue)
			{
				Session.Diag.Warning(File, Spec.Line,
					"Specifier '" + Spec.Name + "' has a value which is unused, future versions of UnrealHeaderTool will flag this as an error.");
			}
			break;
		case ESpecValue::Optional:
			break;
		case ESpecValue::String:
			if (!Spec.bHasValue || Spec.Values.empty())
			{
				throw FParseError{Spec.Line, "The specifier '" + Spec.Name + "' expects a value"};
			}
			break;
		case ESpecValue::SingleString:
			if (Spec.Values.size() != 1)
			{
				throw FParseError{Spec.Line, "The specifier '" + Spec.Name + "' expects a single value"};
			}
			break;
		case ESpecValue::StringList:
			break;
		case ESpecValue::NonEmptyList:
			if (Spec.Values.empty())
			{
				throw FParseError{Spec.Line, "The specifier '" + Spec.Name + "' expects at list one value"};
			}
			break;
		case ESpecValue::KeyValue:
			if (!Spec.bList || Spec.KeyValues.empty())
			{
				throw FParseError{Spec.Line, "The specifier '" + Spec.Name + "' expects a key and optional value"};
			}
			break;
		}
	}

	void AddMetaPairs(const FSpecifier& Spec, FMetaData& Meta)
	{
		for (const auto& [RawKey, RawValue] : Spec.KeyValues)
		{
			const std::string Key = Trim(RawKey);
			if (Key.empty())
			{
				throw FParseError{Spec.Line, "Invalid metadata, name can not be blank"};
			}
			std::string Value = Trim(RawValue);
			if (!Value.empty() && Value.front() == '"')
			{
				Value.erase(0, 1);
			}
			if (!Value.empty() && Value.back() == '"')
			{
				Value.pop_back();
			}
			Meta[Key] = Value;
		}
	}

	bool ApplyDefaultSpecifier(const FSpecifier& Spec, FMetaData& Meta, FSession& Session, const std::string& File)
	{
		const std::string N = ToLower(Spec.Name);
		auto Flag = [&](const char* Key, const char* Value)
		{
			CheckSpecifierValue(Spec, ESpecValue::None, Session, File);
			Meta[Key] = Value;
		};
		if (N == "meta")
		{
			CheckSpecifierValue(Spec, ESpecValue::KeyValue, Session, File);
			AddMetaPairs(Spec, Meta);
		}
		else if (N == "displayname" || N == "friendlyname" || N == "category" || N == "sparseclassdatatype")
		{
			CheckSpecifierValue(Spec, ESpecValue::String, Session, File);
			const char* Key = N == "displayname" ? "DisplayName" : N == "friendlyname" ? "FriendlyName" : N == "category" ? "Category" : "SparseClassDataType";
			std::string Value;
			for (size_t I = 0; I < Spec.Values.size(); ++I)
			{
				Value += (I ? ", " : "") + Spec.Values[I];
			}
			Meta[Key] = Value;
		}
		else if (N == "blueprintinternaluseonly")
		{
			Flag("BlueprintInternalUseOnly", "true");
			Meta["BlueprintType"] = "true";
		}
		else if (N == "blueprintinternaluseonlyhierarchical")
		{
			Flag("BlueprintInternalUseOnlyHierarchical", "true");
			Meta["BlueprintInternalUseOnly"] = "true";
			Meta["BlueprintType"] = "true";
		}
		else if (N == "blueprinttype")
		{
			Flag("BlueprintType", "true");
		}
		else if (N == "notblueprinttype")
		{
			Flag("NotBlueprintType", "true");
			Meta.erase("BlueprintType");
		}
		else if (N == "blueprintable")
		{
			Flag("IsBlueprintBase", "true");
			Meta["BlueprintType"] = "true";
		}
		else if (N == "notblueprintable")
		{
			Flag("IsBlueprintBase", "false");
			Meta.erase("BlueprintType");
		}
		else if (N == "callineditor")
		{
			Flag("CallInEditor", "true");
		}
		else if (N == "experimental")
		{
			Flag("DevelopmentStatus", "Experimental");
		}
		else if (N == "earlyaccesspreview")
		{
			Flag("DevelopmentStatus", "EarlyAccess");
		}
		else if (N == "documentationpolicy")
		{
			Flag("DocumentationPolicy", "Strict");
		}
		else if (N == "statestreamstaticstate" || N == "statestreamdynamicstate" || N == "statestreamhandle")
		{
			CheckSpecifierValue(Spec, ESpecValue::None, Session, File);
			Meta[Spec.Name] = "true";
		}
		else
		{
			return false;
		}
		return true;
	}

	void UnknownSpecifier(const FSpecifier& Spec, const std::string& Context)
	{
		throw FParseError{Spec.Line, "Unknown specifier '" + Spec.Name + "' found while parsing " + Context + " specifiers"};
	}
}
