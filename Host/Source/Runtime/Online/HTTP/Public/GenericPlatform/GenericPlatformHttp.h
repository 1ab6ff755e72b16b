// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Containers/Array.h"
#include "Containers/Set.h"
#include "Containers/StringFwd.h"
#include "Containers/StringView.h"
#include "Containers/UnrealString.h"
#include "CoreMinimal.h"
#include "HAL/Platform.h"
#include "Misc/Optional.h"

class FHttpManager;
class IHttpRequest;

/** Builds the default User-Agent: "project/version (comments) platform/version (comments)". */
class FDefaultUserAgentBuilder
{
public:
	HTTP_API FDefaultUserAgentBuilder();

	/** The User-Agent; a filter keeps only the comments it contains (nullptr keeps them all). */
	HTTP_API FString BuildUserAgentString(const TSet<FString>* AllowedProjectCommentsFilter = nullptr, const TSet<FString>* AllowedPlatformCommentsFilter = nullptr) const;

	HTTP_API void SetProjectName(const FString& InProjectName);
	HTTP_API void SetProjectVersion(const FString& InProjectVersion);
	HTTP_API void AddProjectComment(const FString& InComment);
	HTTP_API void SetPlatformName(const FString& InPlatformName);
	HTTP_API void SetPlatformVersion(const FString& InPlatformVersion);
	HTTP_API void AddPlatformComment(const FString& InComment);

	/** Incremented on every change; not part of the string. */
	HTTP_API uint32 GetAgentVersion() const;

private:
	static FString BuildCommentString(const TArray<FString>& Comments, const TSet<FString>* AllowedCommentsFilter);

	FString ProjectName;
	FString ProjectVersion;
	TArray<FString> ProjectComments;
	FString PlatformName;
	FString PlatformVersion;
	TArray<FString> PlatformComments;
	uint32 AgentVersion;
};

/** HTTP helpers every platform has; use FPlatformHttp (PlatformHttp.h). */
class FGenericPlatformHttp
{
public:
	static HTTP_API void Init();

	/** A platform's own manager, or nullptr for the default one. */
	static FHttpManager* CreatePlatformHttpManager()
	{
		return nullptr;
	}

	static HTTP_API void Shutdown();

	static void ShutdownPlatformCustomSsl() {}

	/** A new request object for this platform. */
	static HTTP_API IHttpRequest* ConstructRequest();

	/**
	 * Percent-encodes everything but the unreserved characters A-Z a-z 0-9 - _ . ~, byte by byte
	 * of the UTF-8 encoding, with upper-case hex: " " becomes "%20", "/" "%2F", "é" "%C3%A9".
	 */
	static HTTP_API FString UrlEncode(const FStringView UnencodedString);

	/** Decodes %XX bytes (and %uXXXX code points) as UTF-8; "+" stays "+"; a cut-off escape is skipped. */
	static HTTP_API FString UrlDecode(const FStringView EncodedString);

	/** Escapes & " ' < > for text between HTML elements. */
	static HTTP_API FString HtmlEncode(const FStringView UnencodedString);

	/** "a.b.c:d" of "http://a.b.c:d/e". */
	static HTTP_API FString GetUrlDomainAndPort(const FStringView Url);

	/** "a.b.c" of "http://a.b.c:d/e". */
	static HTTP_API FString GetUrlDomain(const FStringView Url);

	/** "http://a.b.c:d" of "http://a.b.c:d/e". */
	static HTTP_API FString GetUrlBase(const FStringView Url);

	/** Mime type from a file's extension ("application/unknown" when not known). */
	static HTTP_API FString GetMimeType(const FString& FilePath);

	/** The User-Agent of requests that do not set one. */
	static HTTP_API FString GetDefaultUserAgent();
	/** Removes spaces and turns "/" into "+". */
	static HTTP_API FString EscapeUserAgentString(const FString& UnescapedString);

	static HTTP_API void AddDefaultUserAgentProjectComment(const FString& Comment);
	static HTTP_API void AddDefaultUserAgentPlatformComment(const FString& Comment);
	static HTTP_API uint32 GetDefaultUserAgentVersion();
	static HTTP_API FDefaultUserAgentBuilder GetDefaultUserAgentBuilder();

	/** The proxy from the command line (-httpproxy=), the ini ([HTTP] HttpProxyAddress) or the system. */
	static HTTP_API FString GetConfiguredProxyAddress();
	static HTTP_API TOptional<FString> GetOperatingSystemProxyAddress();
	static HTTP_API bool IsOperatingSystemProxyInformationSupported();
	static HTTP_API TOptional<FString> GetProxyAddressFromConfig();

	/** Whether every byte of the payload is allowed unescaped in a URL. */
	static HTTP_API bool IsURLEncoded(const TArray<uint8>& Payload);

	/**
	 * URL-decoded value of a query parameter: unset when the parameter is absent, empty when it has
	 * no value.
	 */
	static HTTP_API TOptional<FString> GetUrlParameter(const FStringView Url, const FStringView ParameterName);

	/** The port written in the URL ("http://example.org:23/" gives 23), unset when there is none. */
	static HTTP_API TOptional<uint16> GetUrlPort(const FStringView Url);

	/**
	 * The path of a URL, always starting with "/", optionally with the query string and (only with
	 * it) the fragment.
	 */
	static HTTP_API FString GetUrlPath(const FStringView Url, const bool bIncludeQueryString = false, const bool bIncludeFragment = false);

	/** True for https and wss, false for http and ws, unset for anything else. */
	static HTTP_API TOptional<bool> IsSecureProtocol(const FStringView Url);
};
