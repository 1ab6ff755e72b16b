// Copyright Quarn. All Rights Reserved.

#include "GenericPlatform/GenericPlatformHttp.h"

#include "Containers/StringConv.h"
#include "GenericPlatform/HttpRequestImpl.h"
#include "HAL/CriticalSection.h"
#include "Http.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/ScopeLock.h"

#include <sys/utsname.h>

namespace
{
	/** Splits at the first occurrence of SplitString (compared exactly); false, and the outputs untouched, when absent. */
	bool Split(const FStringView SourceString, const FStringView SplitString, FStringView& OutLeft, FStringView& OutRight)
	{
		if (SourceString.IsEmpty() || SplitString.IsEmpty() || SourceString.Len() < SplitString.Len())
		{
			return false;
		}
		const int32 Index = SourceString.Find(SplitString, 0, ESearchCase::CaseSensitive);
		if (Index == INDEX_NONE)
		{
			return false;
		}
		OutLeft = SourceString.Left(Index);
		OutRight = SourceString.RightChop(Index + SplitString.Len());
		return true;
	}

	/** Splits at the first SplitChar; false, and the outputs untouched, when absent. */
	bool Split(const FStringView SourceString, const TCHAR SplitChar, FStringView& OutLeft, FStringView& OutRight)
	{
		int32 Position = INDEX_NONE;
		if (SourceString.FindChar(SplitChar, Position) && Position != INDEX_NONE)
		{
			OutLeft = SourceString.Left(Position);
			OutRight = SourceString.RightChop(Position + 1);
			return true;
		}
		return false;
	}

	/** RFC 3986 unreserved characters, the only ones a URL component keeps unescaped. */
	bool IsAllowedChar(uint8 LookupChar)
	{
		return (LookupChar >= 'A' && LookupChar <= 'Z')
			|| (LookupChar >= 'a' && LookupChar <= 'z')
			|| (LookupChar >= '0' && LookupChar <= '9')
			|| LookupChar == '-' || LookupChar == '_' || LookupChar == '.' || LookupChar == '~';
	}

	/** Value of a hex digit; 0 for anything else, as the engine's parser does. */
	int32 HexDigit(UTF8CHAR Char)
	{
		if (Char >= '0' && Char <= '9')
		{
			return Char - '0';
		}
		if (Char >= 'a' && Char <= 'f')
		{
			return Char - 'a' + 10;
		}
		if (Char >= 'A' && Char <= 'F')
		{
			return Char - 'A' + 10;
		}
		return 0;
	}

	/** Appends the UTF-8 encoding of a code point; a code point that is not a character becomes '?'. */
	void AppendUtf8(TArray<UTF8CHAR>& Out, uint32 CodePoint)
	{
		if ((CodePoint >= 0xD800 && CodePoint <= 0xDFFF) || CodePoint > 0x10FFFF)
		{
			Out.Add(UTF8CHAR('?'));
		}
		else if (CodePoint < 0x80)
		{
			Out.Add(UTF8CHAR(CodePoint));
		}
		else if (CodePoint < 0x800)
		{
			Out.Add(UTF8CHAR(0xC0 | (CodePoint >> 6)));
			Out.Add(UTF8CHAR(0x80 | (CodePoint & 0x3F)));
		}
		else if (CodePoint < 0x10000)
		{
			Out.Add(UTF8CHAR(0xE0 | (CodePoint >> 12)));
			Out.Add(UTF8CHAR(0x80 | ((CodePoint >> 6) & 0x3F)));
			Out.Add(UTF8CHAR(0x80 | (CodePoint & 0x3F)));
		}
		else
		{
			Out.Add(UTF8CHAR(0xF0 | (CodePoint >> 18)));
			Out.Add(UTF8CHAR(0x80 | ((CodePoint >> 12) & 0x3F)));
			Out.Add(UTF8CHAR(0x80 | ((CodePoint >> 6) & 0x3F)));
			Out.Add(UTF8CHAR(0x80 | (CodePoint & 0x3F)));
		}
	}

	FString GetOperatingSystemVersion()
	{
		utsname Name;
		if (uname(&Name) == 0)
		{
			return FString(UTF8_TO_TCHAR(Name.release));
		}
		return FString(TEXT("Unknown"));
	}
}

/** The request of platforms without an HTTP implementation: it never starts. */
class FGenericPlatformHttpRequest : public FHttpRequestImpl
{
public:
	// IHttpBase
	virtual const FString& GetURL() const override { return URL; }
	virtual FString GetURLParameter(const FString& ParameterName) const override { return FString(); }
	virtual FString GetHeader(const FString& HeaderName) const override { return FString(); }
	virtual TArray<FString> GetAllHeaders() const override { return TArray<FString>(); }
	virtual FString GetContentType() const override { return FString(); }
	virtual uint64 GetContentLength() const override { return 0; }
	virtual const TArray<uint8>& GetContent() const override { static const TArray<uint8> Empty; return Empty; }

	// IHttpRequest
	virtual FString GetVerb() const override { return FString(); }
	virtual void SetVerb(const FString& Verb) override {}
	virtual void SetURL(const FString& InURL) override { URL = InURL; }
	virtual FString GetOption(const FName Option) const override { return FString(); }
	virtual void SetOption(const FName Option, const FString& OptionValue) override {}
	virtual void SetContent(const TArray<uint8>& ContentPayload) override {}
	virtual void SetContent(TArray<uint8>&& ContentPayload) override {}
	virtual void SetContentAsString(const FString& ContentString) override {}
	virtual bool SetContentAsStreamedFile(const FString& Filename) override { return false; }
	virtual bool SetContentFromStream(TSharedRef<FArchive, ESPMode::ThreadSafe> Stream) override { return false; }
	virtual bool SetResponseBodyReceiveStream(TSharedRef<FArchive> Stream) override { return false; }
	virtual void SetHeader(const FString& HeaderName, const FString& HeaderValue) override {}
	virtual void AppendToHeader(const FString& HeaderName, const FString& AdditionalHeaderValue) override {}
	virtual bool ProcessRequest() override { return false; }
	virtual void CancelRequest() override {}
	virtual EHttpRequestStatus::Type GetStatus() const override { return EHttpRequestStatus::NotStarted; }
	virtual EHttpFailureReason GetFailureReason() const override { return EHttpFailureReason::None; }
	virtual const FString& GetEffectiveURL() const override { return EffectiveURL; }
	virtual const FHttpResponsePtr GetResponse() const override { return nullptr; }
	virtual void Tick(float DeltaSeconds) override {}
	virtual float GetElapsedTime() const override { return 0.0f; }
	virtual void SetDelegateThreadPolicy(EHttpRequestDelegateThreadPolicy InDelegateThreadPolicy) override {}
	virtual EHttpRequestDelegateThreadPolicy GetDelegateThreadPolicy() const override { return EHttpRequestDelegateThreadPolicy::CompleteOnGameThread; }
	virtual void SetPriority(EHttpRequestPriority InPriority) override {}
	virtual EHttpRequestPriority GetPriority() const override { return EHttpRequestPriority::Normal; }
	virtual void SetTimeout(float InTimeoutSecs) override {}
	virtual void ClearTimeout() override {}
	virtual void ResetTimeoutStatus() override {}
	virtual TOptional<float> GetTimeout() const override { return TOptional<float>(); }
	virtual void SetActivityTimeout(float InTimeoutSecs) override {}
	virtual void ProcessRequestUntilComplete() override {}

private:
	FString URL;
	FString EffectiveURL;
};

FDefaultUserAgentBuilder::FDefaultUserAgentBuilder()
	: ProjectName(TEXT("QuarnHost"))
	, ProjectVersion(TEXT("1.0"))
	, PlatformName(TEXT("Linux"))
	, PlatformVersion(GetOperatingSystemVersion())
	, AgentVersion(1)
{
}

FString FDefaultUserAgentBuilder::BuildUserAgentString(const TSet<FString>* AllowedProjectCommentsFilter, const TSet<FString>* AllowedPlatformCommentsFilter) const
{
	return FString::Printf(TEXT("%s/%s%s %s/%s%s"),
		*FGenericPlatformHttp::EscapeUserAgentString(ProjectName),
		*FGenericPlatformHttp::EscapeUserAgentString(ProjectVersion),
		*BuildCommentString(ProjectComments, AllowedProjectCommentsFilter),
		*FGenericPlatformHttp::EscapeUserAgentString(PlatformName),
		*FGenericPlatformHttp::EscapeUserAgentString(PlatformVersion),
		*BuildCommentString(PlatformComments, AllowedPlatformCommentsFilter));
}

void FDefaultUserAgentBuilder::SetProjectName(const FString& InProjectName)
{
	ProjectName = InProjectName;
	++AgentVersion;
}

void FDefaultUserAgentBuilder::SetProjectVersion(const FString& InProjectVersion)
{
	ProjectVersion = InProjectVersion;
	++AgentVersion;
}

void FDefaultUserAgentBuilder::AddProjectComment(const FString& InComment)
{
	ProjectComments.AddUnique(InComment);
	++AgentVersion;
}

void FDefaultUserAgentBuilder::SetPlatformName(const FString& InPlatformName)
{
	PlatformName = InPlatformName;
	++AgentVersion;
}

void FDefaultUserAgentBuilder::SetPlatformVersion(const FString& InPlatformVersion)
{
	PlatformVersion = InPlatformVersion;
	++AgentVersion;
}

void FDefaultUserAgentBuilder::AddPlatformComment(const FString& InComment)
{
	PlatformComments.AddUnique(InComment);
	++AgentVersion;
}

uint32 FDefaultUserAgentBuilder::GetAgentVersion() const
{
	return AgentVersion;
}

FString FDefaultUserAgentBuilder::BuildCommentString(const TArray<FString>& Comments, const TSet<FString>* AllowedCommentsFilter)
{
	TArray<FString> FilteredComments;
	for (const FString& Comment : Comments)
	{
		if (!AllowedCommentsFilter || AllowedCommentsFilter->Contains(Comment))
		{
			// Brackets and semicolons delimit comments; they cannot appear inside one.
			FString SanitizedComment = Comment;
			SanitizedComment.ReplaceInline(TEXT("("), TEXT(""));
			SanitizedComment.ReplaceInline(TEXT(")"), TEXT(""));
			SanitizedComment.ReplaceInline(TEXT(";"), TEXT(""));
			FilteredComments.Add(MoveTemp(SanitizedComment));
		}
	}
	return !FilteredComments.IsEmpty() ? FString::Printf(TEXT(" (%s)"), *FString::Join(FilteredComments, TEXT("; "))) : FString();
}

namespace
{
	/** The process-wide default User-Agent, rebuilt when a comment is added. */
	class FUserAgentImpl final
	{
	public:
		static FUserAgentImpl& Get()
		{
			static FUserAgentImpl Instance;
			return Instance;
		}

		FUserAgentImpl()
		{
			CachedUserAgent = Builder.BuildUserAgentString();
		}

		void AddProjectComment(const FString& Comment)
		{
			FScopeLock Lock(&CriticalSection);
			Builder.AddProjectComment(Comment);
			CachedUserAgent = Builder.BuildUserAgentString();
		}

		void AddPlatformComment(const FString& Comment)
		{
			FScopeLock Lock(&CriticalSection);
			Builder.AddPlatformComment(Comment);
			CachedUserAgent = Builder.BuildUserAgentString();
		}

		FString GetUserAgent()
		{
			FScopeLock Lock(&CriticalSection);
			return CachedUserAgent;
		}

		FDefaultUserAgentBuilder GetBuilder()
		{
			FScopeLock Lock(&CriticalSection);
			return Builder;
		}

		uint32 GetAgentVersion()
		{
			FScopeLock Lock(&CriticalSection);
			return Builder.GetAgentVersion();
		}

	private:
		FCriticalSection CriticalSection;
		FDefaultUserAgentBuilder Builder;
		FString CachedUserAgent;
	};
}

void FGenericPlatformHttp::Init()
{
	FUserAgentImpl::Get();
}

void FGenericPlatformHttp::Shutdown()
{
}

IHttpRequest* FGenericPlatformHttp::ConstructRequest()
{
	return new FGenericPlatformHttpRequest();
}

FString FGenericPlatformHttp::UrlEncode(const FStringView UnencodedString)
{
	static const TCHAR HexDigits[] = TEXT("0123456789ABCDEF");

	FString EncodedString;
	// A lower bound: characters outside the unreserved set take three characters per UTF-8 byte.
	EncodedString.Reserve(UnencodedString.Len());

	const int32 Length = UnencodedString.Len();
	for (int32 Index = 0; Index < Length; ++Index)
	{
		const TCHAR InChar = UnencodedString[Index];
		uint32 CodePoint = static_cast<uint32>(InChar);
		if (CodePoint == 0)
		{
			// A NUL has no place in a URL; it is dropped.
			continue;
		}
		if (CodePoint < 0x80 && IsAllowedChar(static_cast<uint8>(CodePoint)))
		{
			EncodedString.AppendChar(InChar);
			continue;
		}
		// As the engine does, each UTF-16 unit is converted on its own: half of a surrogate pair
		// (a character beyond U+FFFF) is no character, so it becomes '?' and each half "%3F".
		if (CodePoint >= 0xD800 && CodePoint <= 0xDFFF)
		{
			CodePoint = '?';
		}
		TArray<UTF8CHAR> Bytes;
		AppendUtf8(Bytes, CodePoint);
		for (const UTF8CHAR Byte : Bytes)
		{
			const uint8 Value = static_cast<uint8>(Byte);
			EncodedString.AppendChar(TEXT('%'));
			EncodedString.AppendChar(HexDigits[Value >> 4]);
			EncodedString.AppendChar(HexDigits[Value & 0xF]);
		}
	}

	return EncodedString;
}

FString FGenericPlatformHttp::UrlDecode(const FStringView EncodedString)
{
	const FTCHARToUTF8 Converter(EncodedString.GetData(), EncodedString.Len());
	const UTF8CHAR* const UTF8Data = reinterpret_cast<const UTF8CHAR*>(Converter.Get());
	const int32 Length = Converter.Length();

	TArray<UTF8CHAR> Data;
	Data.Reserve(Length + 1);

	for (int32 CharIdx = 0; CharIdx < Length;)
	{
		if (UTF8Data[CharIdx] == '%')
		{
			if (CharIdx < Length - 1 && UTF8Data[CharIdx + 1] == 'u')
			{
				if (CharIdx <= Length - 6)
				{
					// %uXXXX is a code point.
					uint32 Value = HexDigit(UTF8Data[CharIdx + 2]) << 12;
					Value += HexDigit(UTF8Data[CharIdx + 3]) << 8;
					Value += HexDigit(UTF8Data[CharIdx + 4]) << 4;
					Value += HexDigit(UTF8Data[CharIdx + 5]);
					CharIdx += 6;
					AppendUtf8(Data, Value);
				}
				else
				{
					// Too short to be an escape: drop the '%' and keep the rest as it is.
					++CharIdx;
				}
			}
			else if (CharIdx <= Length - 3)
			{
				// %XX is one byte.
				const int32 Value = (HexDigit(UTF8Data[CharIdx + 1]) << 4) + HexDigit(UTF8Data[CharIdx + 2]);
				CharIdx += 3;
				Data.Add(static_cast<UTF8CHAR>(Value));
			}
			else
			{
				// Too short to be an escape: drop the '%' and keep the rest as it is.
				++CharIdx;
			}
		}
		else
		{
			Data.Add(UTF8Data[CharIdx]);
			++CharIdx;
		}
	}

	// The decoded text ends at the first NUL, as a C string does.
	int32 DecodedLength = 0;
	while (DecodedLength < Data.Num() && Data[DecodedLength] != UTF8CHAR('\0'))
	{
		++DecodedLength;
	}
	const FUTF8ToTCHAR Decoded(Data.GetData(), DecodedLength);
	return FString(Decoded.Length(), Decoded.Get());
}

FString FGenericPlatformHttp::HtmlEncode(const FStringView UnencodedString)
{
	FString EncodedString;
	EncodedString.Reserve(UnencodedString.Len());

	for (int32 Index = 0; Index != UnencodedString.Len(); ++Index)
	{
		switch (UnencodedString[Index])
		{
			case TEXT('&'): EncodedString.Append(TEXT("&amp;")); break;
			case TEXT('"'): EncodedString.Append(TEXT("&quot;")); break;
			case TEXT('\''): EncodedString.Append(TEXT("&apos;")); break;
			case TEXT('<'): EncodedString.Append(TEXT("&lt;")); break;
			case TEXT('>'): EncodedString.Append(TEXT("&gt;")); break;
			default: EncodedString.AppendChar(UnencodedString[Index]); break;
		}
	}

	return EncodedString;
}

FString FGenericPlatformHttp::GetUrlDomainAndPort(const FStringView Url)
{
	FStringView Protocol;
	FStringView DomainAndPort;
	if (!Split(Url, TEXTVIEW("://"), Protocol, DomainAndPort))
	{
		DomainAndPort = Url;
	}
	for (int32 Index = 0; Index < DomainAndPort.Len(); ++Index)
	{
		const TCHAR Character = DomainAndPort[Index];
		if (Character == TEXT('/') || Character == TEXT('?') || Character == TEXT('#'))
		{
			DomainAndPort.LeftInline(Index);
			break;
		}
	}
	return FString(DomainAndPort);
}

FString FGenericPlatformHttp::GetUrlDomain(const FStringView Url)
{
	FStringView Protocol;
	FStringView Domain;
	if (!Split(Url, TEXTVIEW("://"), Protocol, Domain))
	{
		Domain = Url;
	}
	for (int32 Index = 0; Index < Domain.Len(); ++Index)
	{
		const TCHAR Character = Domain[Index];
		if (Character == TEXT('/') || Character == TEXT('?') || Character == TEXT(':') || Character == TEXT('#'))
		{
			Domain.LeftInline(Index);
			break;
		}
	}
	return FString(Domain);
}

FString FGenericPlatformHttp::GetUrlBase(const FStringView Url)
{
	FStringView UrlBase = Url;
	// Without a scheme this starts at index 2 (INDEX_NONE + 3), as the engine does.
	for (int32 Index = Url.Find(TEXTVIEW("://")) + 3; Index < Url.Len(); ++Index)
	{
		const TCHAR Character = Url[Index];
		if (Character == TEXT('/') || Character == TEXT('?') || Character == TEXT('#'))
		{
			UrlBase.LeftInline(Index);
			break;
		}
	}
	return FString(UrlBase);
}

FString FGenericPlatformHttp::GetMimeType(const FString& FilePath)
{
	const int32 DotIndex = FilePath.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	const int32 ForwardSlashIndex = FilePath.Find(TEXT("/"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	const int32 BackSlashIndex = FilePath.Find(TEXT("\\"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	const int32 SlashIndex = ForwardSlashIndex > BackSlashIndex ? ForwardSlashIndex : BackSlashIndex;
	const FString FileExtension = (DotIndex != INDEX_NONE && DotIndex > SlashIndex) ? FilePath.Mid(DotIndex) : FString();

	static const TMap<FString, FString> ExtensionMimeTypeMap = []()
	{
		TMap<FString, FString> Map;
		Map.Add(TEXT(".html"), TEXT("text/html"));
		Map.Add(TEXT(".css"), TEXT("text/css"));
		Map.Add(TEXT(".js"), TEXT("application/x-javascript"));
		Map.Add(TEXT(".avi"), TEXT("video/msvideo, video/avi, video/x-msvideo"));
		Map.Add(TEXT(".mpeg"), TEXT("video/mpeg"));
		Map.Add(TEXT(".bmp"), TEXT("image/bmp"));
		Map.Add(TEXT(".gif"), TEXT("image/gif"));
		Map.Add(TEXT(".jpg"), TEXT("image/jpeg"));
		Map.Add(TEXT(".jpeg"), TEXT("image/jpeg"));
		Map.Add(TEXT(".png"), TEXT("image/png"));
		Map.Add(TEXT(".svg"), TEXT("image/svg+xml"));
		Map.Add(TEXT(".tiff"), TEXT("image/tiff"));
		Map.Add(TEXT(".midi"), TEXT("audio/x-midi"));
		Map.Add(TEXT(".mp3"), TEXT("audio/mpeg"));
		Map.Add(TEXT(".ogg"), TEXT("audio/vorbis, application/ogg"));
		Map.Add(TEXT(".wav"), TEXT("audio/wav, audio/x-wav"));
		Map.Add(TEXT(".xml"), TEXT("application/xml"));
		Map.Add(TEXT(".txt"), TEXT("text/plain"));
		Map.Add(TEXT(".log"), TEXT("text/plain"));
		Map.Add(TEXT(".tsv"), TEXT("text/tab-separated-values"));
		Map.Add(TEXT(".csv"), TEXT("text/csv"));
		Map.Add(TEXT(".json"), TEXT("application/json"));
		Map.Add(TEXT(".zip"), TEXT("application/zip, application/x-compressed-zip"));
		return Map;
	}();

	if (const FString* FoundMimeType = ExtensionMimeTypeMap.Find(FileExtension))
	{
		return *FoundMimeType;
	}
	return TEXT("application/unknown");
}

FString FGenericPlatformHttp::GetDefaultUserAgent()
{
	return FUserAgentImpl::Get().GetUserAgent();
}

void FGenericPlatformHttp::AddDefaultUserAgentProjectComment(const FString& Comment)
{
	FUserAgentImpl::Get().AddProjectComment(Comment);
}

void FGenericPlatformHttp::AddDefaultUserAgentPlatformComment(const FString& Comment)
{
	FUserAgentImpl::Get().AddPlatformComment(Comment);
}

uint32 FGenericPlatformHttp::GetDefaultUserAgentVersion()
{
	return FUserAgentImpl::Get().GetAgentVersion();
}

FDefaultUserAgentBuilder FGenericPlatformHttp::GetDefaultUserAgentBuilder()
{
	return FUserAgentImpl::Get().GetBuilder();
}

FString FGenericPlatformHttp::EscapeUserAgentString(const FString& UnescapedString)
{
	if (UnescapedString.Contains(TEXT(" ")) || UnescapedString.Contains(TEXT("/")))
	{
		FString EscapedString = UnescapedString;
		EscapedString.ReplaceInline(TEXT(" "), TEXT(""));
		EscapedString.ReplaceInline(TEXT("/"), TEXT("+"));
		return EscapedString;
	}
	return UnescapedString;
}

TOptional<FString> FGenericPlatformHttp::GetProxyAddressFromConfig()
{
	FString ProxyAddress;
	if (GConfig && GConfig->GetString(TEXT("HTTP"), TEXT("HttpProxyAddress"), ProxyAddress, GEngineIni))
	{
		return ProxyAddress;
	}
	return TOptional<FString>();
}

FString FGenericPlatformHttp::GetConfiguredProxyAddress()
{
	if (TOptional<FString> ConfigProxy = GetProxyAddressFromConfig())
	{
		return ConfigProxy.GetValue();
	}
	if (TOptional<FString> OsProxy = GetOperatingSystemProxyAddress())
	{
		return OsProxy.GetValue();
	}
	return FString();
}

TOptional<FString> FGenericPlatformHttp::GetOperatingSystemProxyAddress()
{
	return TOptional<FString>();
}

bool FGenericPlatformHttp::IsOperatingSystemProxyInformationSupported()
{
	return false;
}

bool FGenericPlatformHttp::IsURLEncoded(const TArray<uint8>& Payload)
{
	for (const uint8 Byte : Payload)
	{
		if (!IsAllowedChar(Byte))
		{
			return false;
		}
	}
	return true;
}

TOptional<FString> FGenericPlatformHttp::GetUrlParameter(const FStringView Url, const FStringView ParameterName)
{
	TOptional<FString> ParameterValue;

	FStringView Endpoint;
	FStringView ParamsAndFragment;
	if (Split(Url, TEXT('?'), Endpoint, ParamsAndFragment))
	{
		FStringView AllParams;
		FStringView Fragment;
		if (!Split(ParamsAndFragment, TEXT('#'), AllParams, Fragment))
		{
			AllParams = ParamsAndFragment;
		}

		FStringView ParamsLeftToRead = AllParams;
		do
		{
			FStringView CurrentParam;
			FStringView Remainders;
			if (Split(ParamsLeftToRead, TEXT('&'), CurrentParam, Remainders))
			{
				ParamsLeftToRead = Remainders;
			}
			else
			{
				CurrentParam = ParamsLeftToRead;
				ParamsLeftToRead.Reset();
			}

			FStringView ParamKey;
			FStringView ParamValue;
			if (!Split(CurrentParam, TEXT('='), ParamKey, ParamValue))
			{
				// A parameter without '=' is a key without a value.
				ParamKey = CurrentParam;
			}

			// Views compare ignoring case, so parameter names do too.
			if (ParamKey == ParameterName)
			{
				if (!ParamValue.IsEmpty())
				{
					ParameterValue = FGenericPlatformHttp::UrlDecode(ParamValue);
				}
				else
				{
					ParameterValue.Emplace();
				}
				break;
			}
		}
		while (!ParamsLeftToRead.IsEmpty());
	}

	return ParameterValue;
}

TOptional<uint16> FGenericPlatformHttp::GetUrlPort(const FStringView Url)
{
	TOptional<uint16> Port;

	FStringView Scheme;
	FStringView UrlWithoutScheme;
	if (!Split(Url, TEXTVIEW("://"), Scheme, UrlWithoutScheme))
	{
		UrlWithoutScheme = Url;
	}

	TOptional<int32> PortStringStartIndex;
	for (int32 Index = 0; Index < UrlWithoutScheme.Len(); ++Index)
	{
		const TCHAR Character = UrlWithoutScheme[Index];
		if (!PortStringStartIndex.IsSet())
		{
			if (Character == TEXT(':'))
			{
				if (Index + 1 < UrlWithoutScheme.Len())
				{
					PortStringStartIndex = Index + 1;
				}
				continue;
			}
			else if (Character == TEXT('/'))
			{
				break;
			}
		}
		else
		{
			// The port ends at the first non-digit or at the end of the URL.
			const bool bIsDigit = Character >= TEXT('0') && Character <= TEXT('9');
			const bool bIsLastCharacter = Index + 1 == UrlWithoutScheme.Len();
			if (!bIsDigit || bIsLastCharacter)
			{
				int32 End = Index;
				if (bIsDigit && bIsLastCharacter)
				{
					++End;
				}
				const FStringView PortString = UrlWithoutScheme.Mid(PortStringStartIndex.GetValue(), End - PortStringStartIndex.GetValue());
				if (!PortString.IsEmpty())
				{
					// Digits only, so the value is the number (wrapping past 65535 as a uint16 does).
					uint32 Value = 0;
					for (const TCHAR Digit : PortString)
					{
						Value = Value * 10 + static_cast<uint32>(Digit - TEXT('0'));
					}
					Port.Emplace(static_cast<uint16>(Value));
				}
				break;
			}
		}
	}

	return Port;
}

FString FGenericPlatformHttp::GetUrlPath(const FStringView Url, const bool bIncludeQueryString, const bool bIncludeFragment)
{
	check(bIncludeQueryString || !bIncludeFragment);

	FString PathString(TEXT("/"));

	FStringView Scheme;
	FStringView AfterScheme;
	if (!Split(Url, TEXTVIEW("://"), Scheme, AfterScheme))
	{
		AfterScheme = Url;
	}

	// Skip the domain.
	FStringView PortAndPathAndQueryAndFragment;
	for (int32 Index = 0; Index < AfterScheme.Len(); ++Index)
	{
		const TCHAR Character = AfterScheme[Index];
		if (Character == TEXT(':') || Character == TEXT('/') || Character == TEXT('?') || Character == TEXT('#'))
		{
			PortAndPathAndQueryAndFragment = AfterScheme.RightChop(Index);
			break;
		}
	}
	if (PortAndPathAndQueryAndFragment.IsEmpty())
	{
		return PathString;
	}

	// Skip the port, which ends at the first non-digit (normally '/').
	FStringView PathAndQueryAndFragment;
	if (PortAndPathAndQueryAndFragment.StartsWith(TEXT(':')))
	{
		for (int32 Index = 1; Index < PortAndPathAndQueryAndFragment.Len(); ++Index)
		{
			const TCHAR Character = PortAndPathAndQueryAndFragment[Index];
			if (!(Character >= TEXT('0') && Character <= TEXT('9')))
			{
				PathAndQueryAndFragment = PortAndPathAndQueryAndFragment.RightChop(Index);
				break;
			}
		}
	}
	else
	{
		PathAndQueryAndFragment = PortAndPathAndQueryAndFragment;
	}

	if (PathAndQueryAndFragment.StartsWith(TEXT('/')))
	{
		PathAndQueryAndFragment.RightChopInline(1);
	}
	if (PathAndQueryAndFragment.IsEmpty())
	{
		return PathString;
	}

	if (bIncludeQueryString)
	{
		if (bIncludeFragment)
		{
			PathString += PathAndQueryAndFragment;
		}
		else
		{
			int32 FragmentStartIndex = INDEX_NONE;
			if (PathAndQueryAndFragment.FindChar(TEXT('#'), FragmentStartIndex))
			{
				PathString += PathAndQueryAndFragment.Left(FragmentStartIndex);
			}
			else
			{
				PathString += PathAndQueryAndFragment;
			}
		}
	}
	else
	{
		FStringView Path;
		for (int32 Index = 0; Index < PathAndQueryAndFragment.Len(); ++Index)
		{
			const TCHAR Character = PathAndQueryAndFragment[Index];
			if (Character == TEXT('?') || Character == TEXT('#'))
			{
				Path = PathAndQueryAndFragment.Left(Index);
				break;
			}
			else if (Index + 1 == PathAndQueryAndFragment.Len())
			{
				Path = PathAndQueryAndFragment;
			}
		}
		PathString += Path;
	}

	return PathString;
}

TOptional<bool> FGenericPlatformHttp::IsSecureProtocol(const FStringView Url)
{
	TOptional<bool> bIsSecure;

	FStringView Scheme;
	FStringView UrlWithoutScheme;
	if (Split(Url, TEXTVIEW("://"), Scheme, UrlWithoutScheme))
	{
		if (Scheme == TEXTVIEW("https") || Scheme == TEXTVIEW("wss"))
		{
			bIsSecure = true;
		}
		else if (Scheme == TEXTVIEW("http") || Scheme == TEXTVIEW("ws"))
		{
			bIsSecure = false;
		}
	}

	return bIsSecure;
}
