#include "GameApi.h"

#include "ApiError.h"
#include "Crypto.h"
#include "JsonRead.h"
#include "Store.h"

#include <openssl/crypto.h>

#include <cctype>

#include <chrono>
#include <thread>

namespace Velmora
{
namespace
{
const char* const SignInHint = "Sign in again with POST /v1/game/sessions and send the new access token.";

ApiError containerNotFound(const std::string& id)
{
	// The same words whether the container does not exist or belongs to someone else.
	return ApiError(404, "container_not_found", "This player has no container " + inQuotes(id) + ".",
		"Use the \"id\" that POST /v1/game/containers/ensure returned for this player, percent-encoded in a path.");
}

ApiError instanceNotFound(const std::string& id)
{
	return ApiError(404, "instance_not_found", "This player has no stack with instance id " + inQuotes(id) + ".",
		"Read the container again; another writer may have consumed or moved the stack.");
}

void sleepFor(int milliseconds)
{
	if (milliseconds > 0)
	{
		std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
	}
}

// Loads a container and checks that it is the caller's.
ContainerState ownedContainer(Emulator& emulator, const std::string& id, const std::string& playerId)
{
	std::optional<ContainerState> container = Store::loadContainer(emulator.db(), id);
	if (!container || container->playerId != playerId)
	{
		throw containerNotFound(id);
	}
	return std::move(*container);
}

std::string authenticate(Emulator& emulator, const Call& call)
{
	if (!call.hasHeader("Authorization"))
	{
		throw ApiError(401, "unauthorized", "This request carries no access token.",
			"Send the header Authorization: Bearer <access_token>, with the token from POST /v1/game/sessions.");
	}
	const std::string header = call.header("Authorization");
	std::string scheme = header.substr(0, 7);
	for (char& c : scheme)
	{
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	}
	if (scheme != "bearer ")
	{
		throw ApiError(401, "unauthorized", "The Authorization header does not hold a Bearer token.",
			"Send the header Authorization: Bearer <access_token>, with the token from POST /v1/game/sessions.");
	}
	std::string token = header.substr(7);
	while (!token.empty() && token.front() == ' ')
	{
		token.erase(token.begin());
	}
	while (!token.empty() && token.back() == ' ')
	{
		token.pop_back();
	}
	const ApiError unknown(401, "unauthorized", "The access token is not one this platform issued (or the platform was reset since).", SignInHint);
	ParsedToken parsed;
	if (!parseToken(token, parsed))
	{
		throw unknown;
	}
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), false);
	const std::optional<Store::TokenRow> row = Store::findToken(emulator.db(), parsed.selector);
	transaction.commit();
	if (!row || row->verifierHash.size() != parsed.verifierHash.size() ||
		CRYPTO_memcmp(row->verifierHash.data(), parsed.verifierHash.data(), parsed.verifierHash.size()) != 0)
	{
		throw unknown;
	}
	if (row->expiresAt <= emulator.clock().nowSeconds())
	{
		throw ApiError(401, "token_expired", "The access token expired at " + Clock::format(row->expiresAt * 1000) + ".", SignInHint);
	}
	return row->playerId;
}

Answer signIn(Emulator& emulator, Call& call)
{
	const Json body = parseBodyObject(call.body);
	const std::string provider = *readString(body, "provider", "provider", 1, 64, true);
	const std::string ticket = *readString(body, "ticket", "ticket", 0, 4096, true);
	std::string subject;
	if (provider == "anonymous")
	{
		if (emulator.options().bProduction)
		{
			throw ApiError(403, "provider_not_allowed", "Anonymous sign-in is not allowed on a production environment.",
				"Set a real sign-in provider and its ticket in the game's identity settings.");
		}
		if (ticket.empty())
		{
			throw invalidRequest("The member \"ticket\" is empty; an anonymous sign-in claims the identifier it holds.",
				"Send a non-empty ticket; the same ticket always signs in the same player.");
		}
		subject = ticket;
	}
	else if (emulator.tickets().knowsProvider(provider))
	{
		const std::optional<std::string> label = emulator.tickets().labelFor(provider, ticket);
		if (!label)
		{
			throw ApiError(401, "unauthorized", "The " + inQuotes(provider) + " ticket is not one this platform accepts.",
				"Use a ticket listed for this provider in the emulator's tickets file (--tickets).");
		}
		subject = *label;
	}
	else
	{
		throw ApiError(400, "unsupported_provider", "The sign-in provider " + inQuotes(provider) + " is not known to this platform.",
			"Use \"anonymous\" for development, or give the emulator a tickets file (--tickets) that lists this provider's test players.");
	}

	const IssuedToken issued = issueToken();
	const int64_t ttl = emulator.options().tokenTtlSeconds;
	std::string playerId;
	{
		auto lock = emulator.lockDatabase();
		Transaction transaction(emulator.db(), true);
		const std::optional<std::string> existing = Store::findPlayer(emulator.db(), provider, subject);
		playerId = existing ? *existing : emulator.newId("plr_");
		if (!existing)
		{
			Store::insertPlayer(emulator.db(), playerId, provider, subject, emulator.clock().nowMilliseconds());
		}
		Store::insertToken(emulator.db(), issued.selector, issued.verifierHash, playerId, emulator.clock().nowSeconds() + ttl);
		transaction.commit();
	}
	call.playerId = playerId;
	Answer answer;
	answer.body["player"] = {{"id", playerId}, {"provider", provider}};
	answer.body["tokens"] = {{"access_token", issued.token}, {"token_type", "Bearer"}, {"expires_in", ttl}};
	return answer;
}

Answer ensure(Emulator& emulator, Call& call)
{
	const Json body = parseBodyObject(call.body);
	const std::string kind = *readString(body, "kind", "kind", 1, 64, true);
	const std::string layout = *readString(body, "layout", "layout", 1, 16, true);
	if (layout != "grid" && layout != "slots")
	{
		throw invalidRequest("The member \"layout\" must be \"grid\" or \"slots\", not " + inQuotes(layout) + ".");
	}
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), true);
	Answer answer;
	if (const auto existing = Store::findContainerByKind(emulator.db(), call.playerId, kind))
	{
		// An existing container stays as it was created, whatever layout or size this asks for.
		answer.body = emulator.inventory().documentJson(*Store::loadContainer(emulator.db(), *existing));
		transaction.commit();
		return answer;
	}
	ContainerState container;
	container.id = emulator.newId("ctr_");
	container.playerId = call.playerId;
	container.kind = kind;
	container.layout = layout;
	if (layout == "slots")
	{
		container.slotCount = static_cast<int>(*readInteger(body, "slot_count", "slot_count", 1, 100000, true));
	}
	else
	{
		container.gridWidth = static_cast<int>(*readInteger(body, "grid_width", "grid_width", 1, 1000, true));
		container.gridHeight = static_cast<int>(*readInteger(body, "grid_height", "grid_height", 1, 1000, true));
	}
	const int64_t now = emulator.clock().nowMilliseconds();
	Store::insertContainer(emulator.db(), container, now);
	Store::appendChange(emulator.db(), {container.id, container.version, call.requestId, std::nullopt, "create", Json::array(), Json::array(), now});
	transaction.commit();
	answer.body = emulator.inventory().documentJson(container);
	return answer;
}

Answer readContainer(Emulator& emulator, Call& call)
{
	const std::string& id = call.segments.at(3);
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), false);
	Answer answer;
	answer.body = emulator.inventory().documentJson(ownedContainer(emulator, id, call.playerId));
	transaction.commit();
	return answer;
}

void record(Emulator& emulator, const Call& call, const std::optional<std::string>& key, const ContainerState& container,
	const std::string& operation, const Json& intents, const Effects& effects)
{
	Json effectList = Json::array();
	for (const Json& effect : effects)
	{
		effectList.push_back(effect);
	}
	Store::appendChange(emulator.db(),
		{container.id, container.version, call.requestId, key, operation, intents, std::move(effectList), emulator.clock().nowMilliseconds()});
}

// The operations below run inside the caller's write transaction and database lock.
Answer grant(Emulator& emulator, const Call& call, const Json& body, const std::optional<std::string>& key)
{
	const std::string containerId = *readString(body, "container_id", "container_id", 1, 256, true);
	GrantIntent intent;
	intent.itemId = *readString(body, "item_id", "item_id", 1, 128, true);
	intent.quantity = *readInteger(body, "quantity", "quantity", 1, MaxQuantity, true);
	std::optional<Destination> to;
	if (const Json* place = readObject(body, "to", "to", false))
	{
		to = Destination::parse(*place, "to");
	}
	ContainerState container = ownedContainer(emulator, containerId, call.playerId);
	Effects effects;
	const Stack* stack = emulator.inventory().grant(container, intent, to, effects);
	Answer answer;
	answer.body["version"] = container.version + 1;
	answer.body["instance"] = emulator.inventory().itemJson(*stack);
	container.version += 1;
	Store::saveContainer(emulator.db(), container);
	Json recorded = {{"kind", "grant"}, {"container_id", containerId}, {"item_id", intent.itemId}, {"quantity", intent.quantity}};
	if (to)
	{
		recorded["to"] = to->toJson();
	}
	record(emulator, call, key, container, "grant", Json::array({recorded}), effects);
	return answer;
}

Answer consume(Emulator& emulator, const Call& call, const Json& body, const std::optional<std::string>& key)
{
	ConsumeIntent intent;
	intent.instanceId = *readString(body, "instance_id", "instance_id", 1, 128, true);
	intent.quantity = *readInteger(body, "quantity", "quantity", 1, MaxQuantity, true);
	const auto owner = Store::findStackOwner(emulator.db(), intent.instanceId);
	if (!owner || owner->playerId != call.playerId)
	{
		throw instanceNotFound(intent.instanceId);
	}
	ContainerState container = ownedContainer(emulator, owner->containerId, call.playerId);
	Effects effects;
	const Stack* stack = emulator.inventory().consume(container, intent, effects);
	Answer answer;
	answer.body["version"] = container.version + 1;
	answer.body["instance"] = stack ? emulator.inventory().itemJson(*stack) : Json(nullptr);
	container.version += 1;
	Store::saveContainer(emulator.db(), container);
	record(emulator, call, key, container, "consume",
		Json::array({{{"kind", "consume"}, {"instance_id", intent.instanceId}, {"quantity", intent.quantity}}}), effects);
	return answer;
}

Answer move(Emulator& emulator, const Call& call, const Json& body, const std::optional<std::string>& key)
{
	const std::string instanceId = *readString(body, "instance_id", "instance_id", 1, 128, true);
	const std::string toContainerId = *readString(body, "to_container_id", "to_container_id", 1, 256, true);
	std::optional<Destination> to;
	if (const Json* place = readObject(body, "to", "to", false))
	{
		to = Destination::parse(*place, "to");
	}
	const auto owner = Store::findStackOwner(emulator.db(), instanceId);
	if (!owner || owner->playerId != call.playerId)
	{
		throw instanceNotFound(instanceId);
	}
	ContainerState destination = ownedContainer(emulator, toContainerId, call.playerId);
	Json recorded = {{"kind", "move"}, {"instance_id", instanceId}, {"to_container_id", toContainerId}};
	if (to)
	{
		recorded["to"] = to->toJson();
	}
	Answer answer;
	if (owner->containerId == destination.id)
	{
		Effects effects;
		const Stack* stack = emulator.inventory().move(destination, destination, instanceId, to, effects, effects);
		const Json item = emulator.inventory().itemJson(*stack);
		destination.version += 1;
		Store::saveContainer(emulator.db(), destination);
		record(emulator, call, key, destination, "move", Json::array({recorded}), effects);
		answer.body["version"] = destination.version;
		answer.body["from_version"] = destination.version;
		answer.body["instance"] = item;
		return answer;
	}
	ContainerState source = ownedContainer(emulator, owner->containerId, call.playerId);
	Effects fromEffects;
	Effects toEffects;
	const Stack* stack = emulator.inventory().move(source, destination, instanceId, to, fromEffects, toEffects);
	const Json item = emulator.inventory().itemJson(*stack);
	source.version += 1;
	destination.version += 1;
	// The source first: its row change (the stack leaving) is written by the destination's save.
	Store::saveContainer(emulator.db(), source);
	Store::saveContainer(emulator.db(), destination);
	record(emulator, call, key, source, "move", Json::array({recorded}), fromEffects);
	record(emulator, call, key, destination, "move", Json::array({recorded}), toEffects);
	answer.body["version"] = destination.version;
	answer.body["from_version"] = source.version;
	answer.body["instance"] = item;
	return answer;
}

Answer transaction(Emulator& emulator, const Call& call, const Json& body, const std::optional<std::string>& key)
{
	const std::string containerId = *readString(body, "container_id", "container_id", 1, 256, true);
	const int64_t expected = *readInteger(body, "expected_version", "expected_version", 0, 9007199254740991LL, true);
	const std::vector<Intent> intents = parseIntents(body, containerId);
	ContainerState container = ownedContainer(emulator, containerId, call.playerId);
	if (expected != container.version)
	{
		ApiError conflict(409, "version_conflict",
			"Container " + container.id + " is at version " + std::to_string(container.version) + ", not " + std::to_string(expected) + ".",
			"Re-read the container and sync again.");
		conflict.extra["current_version"] = container.version;
		throw conflict;
	}
	const InstanceLocator locate = [&](const std::string& instanceId) -> std::optional<std::string> {
		const auto owner = Store::findStackOwner(emulator.db(), instanceId);
		if (!owner || owner->playerId != call.playerId)
		{
			return std::nullopt;
		}
		return owner->containerId;
	};
	Effects effects;
	Json results = emulator.inventory().transact(container, intents, locate, effects);
	container.version += 1;
	Store::saveContainer(emulator.db(), container);
	Json recorded = Json::array();
	for (const Intent& intent : intents)
	{
		recorded.push_back(intent.recorded);
	}
	record(emulator, call, key, container, "transaction", recorded, effects);
	Answer answer;
	answer.body["version"] = container.version;
	answer.body["results"] = std::move(results);
	return answer;
}

Answer runMutation(Emulator& emulator, GameRoute route, const Call& call, const std::optional<std::string>& key)
{
	const Json body = parseBodyObject(call.body);
	switch (route)
	{
	case GameRoute::Grant:
		return grant(emulator, call, body, key);
	case GameRoute::Consume:
		return consume(emulator, call, body, key);
	case GameRoute::Move:
		return move(emulator, call, body, key);
	default:
		return transaction(emulator, call, body, key);
	}
}

Answer errorAnswer(const ApiError& error, const std::string& requestId)
{
	Answer answer;
	answer.status = error.status;
	answer.body = errorBody(error, requestId);
	answer.headers = error.headers;
	return answer;
}

// A mutating request: with a key, its answer (success or refusal) is stored in the same commit as
// its changes; a repeat is answered from the record.
Answer mutate(Emulator& emulator, GameRoute route, Call& call)
{
	std::optional<std::string> key;
	if (call.hasHeader("Idempotency-Key"))
	{
		key = call.header("Idempotency-Key");
		if (!isValidIdempotencyKey(*key))
		{
			throw invalidRequest("The header \"Idempotency-Key\" must be 1 to 255 printable ASCII characters.",
				"Use a fresh random key (for example a UUID) per logical change, and resend it unchanged with every retry.");
		}
	}
	if (!key)
	{
		sleepFor(call.fault.delayMs);
		auto lock = emulator.lockDatabase();
		Transaction transaction(emulator.db(), true);
		Answer answer = runMutation(emulator, route, call, std::nullopt);
		transaction.commit();
		emulator.maybePurgeExpired();
		return answer;
	}

	const std::string fingerprint = requestFingerprint(call.method, call.path, call.body);
	const ApiError reused(422, "idempotency_key_reused",
		"The Idempotency-Key " + inQuotes(*key) + " was used before with another method, path or body.",
		"Use a new key for every new change; resend a key only with the identical request.");
	switch (emulator.inFlight().claim(call.playerId, *key, fingerprint))
	{
	case InFlightKeys::Claim::InUse:
	{
		ApiError inUse(409, "idempotency_key_in_use", "A request with the Idempotency-Key " + inQuotes(*key) + " is still being processed.",
			"Wait for its answer, or retry after the Retry-After seconds with the same key.");
		inUse.headers.push_back({"Retry-After", "1"});
		throw inUse;
	}
	case InFlightKeys::Claim::Reused:
		throw reused;
	case InFlightKeys::Claim::Claimed:
		break;
	}
	InFlightClaim claim(emulator.inFlight(), call.playerId, *key);
	sleepFor(call.fault.delayMs);

	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), true);
	const int64_t now = emulator.clock().nowSeconds();
	if (const auto stored = Store::findIdempotency(emulator.db(), call.playerId, *key, now))
	{
		transaction.commit();
		if (stored->fingerprint != fingerprint)
		{
			throw reused;
		}
		call.bReplayed = true;
		Answer answer;
		answer.status = stored->status;
		answer.storedBody = stored->body;
		answer.headers.push_back({"Idempotent-Replayed", "true"});
		return answer;
	}
	Answer answer;
	emulator.db().exec("SAVEPOINT operation");
	try
	{
		answer = runMutation(emulator, route, call, key);
		emulator.db().exec("RELEASE operation");
	}
	catch (const ApiError& error)
	{
		emulator.db().resetStatements();
		emulator.db().exec("ROLLBACK TO operation");
		emulator.db().exec("RELEASE operation");
		if (error.status >= 500)
		{
			throw;
		}
		answer = errorAnswer(error, call.requestId);
	}
	Store::putIdempotency(emulator.db(), call.playerId, *key, {fingerprint, answer.status, answer.text(), now, now + IdempotencyLifetimeSeconds});
	transaction.commit();
	emulator.maybePurgeExpired();
	return answer;
}
}

Answer handleGame(Emulator& emulator, GameRoute route, Call& call)
{
	if (route == GameRoute::Sessions)
	{
		if (const int wait = emulator.rateLimiter().admit("address " + call.remoteAddress))
		{
			ApiError limited(429, "rate_limited", "Too many sign-ins from this address.", "Wait for the Retry-After seconds, then sign in again.");
			limited.headers.push_back({"Retry-After", std::to_string(wait)});
			throw limited;
		}
		sleepFor(call.fault.delayMs);
		return signIn(emulator, call);
	}
	call.playerId = authenticate(emulator, call);
	if (const int wait = emulator.rateLimiter().admit("player " + call.playerId))
	{
		ApiError limited(429, "rate_limited",
			"This player sent more than " + std::to_string(static_cast<int64_t>(emulator.rateLimiter().perSecond())) + " requests a second.",
			"Wait for the Retry-After seconds before the next request.");
		limited.headers.push_back({"Retry-After", std::to_string(wait)});
		throw limited;
	}
	if (isMutating(route))
	{
		return mutate(emulator, route, call);
	}
	sleepFor(call.fault.delayMs);
	if (route == GameRoute::Ensure)
	{
		return ensure(emulator, call);
	}
	return readContainer(emulator, call);
}
}
