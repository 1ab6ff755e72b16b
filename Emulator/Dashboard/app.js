// The emulator's dashboard. It reads the admin API with the admin key, which comes in the address's
// fragment (never sent to a server), is kept in session storage and goes out only as X-Admin-Key.
// Everything shown is put in with textContent: ids and item names are data, never markup.
'use strict';

const KeyName = 'velmora-admin-key';
const SelectionName = 'velmora-dashboard-selection';
const RequestTimeoutMs = 15000;
const MaxSlotsDrawn = 2000;
const HistoryShown = 200;

const view = {
	players: [],
	nowOffsetMs: 0,
	containers: [],
	history: null,
	replays: [],
	faults: null,
	selection: { player: '', container: '' },
	drawn: { players: '', containers: '', history: '', faults: '' },
	newestVersionSeen: new Map(),
	generation: 0,
};

const $ = (id) => document.getElementById(id);

function el(tag, className, text) {
	const node = document.createElement(tag);
	if (className) {
		node.className = className;
	}
	if (text !== undefined && text !== null) {
		node.textContent = String(text);
	}
	return node;
}

// ---- The key --------------------------------------------------------------------------------

// True when the fragment held a key.
function takeKeyFromFragment() {
	const match = /(?:^#|&)key=([^&]*)/.exec(window.location.hash);
	if (!match) {
		return false;
	}
	{
		let key = match[1];
		try {
			key = decodeURIComponent(key);
		} catch (error) {
			// Not percent-encoded after all: keep it as written.
		}
		if (key) {
			sessionStorage.setItem(KeyName, key);
		}
		// Out of the address bar and the session history, so that it is not copied along with the address.
		history.replaceState(null, '', window.location.pathname + window.location.search);
	}
	return true;
}

function adminKey() {
	return sessionStorage.getItem(KeyName) || '';
}

class AuthError extends Error {}

async function admin(method, path, body) {
	const controller = new AbortController();
	const timer = setTimeout(() => controller.abort(), RequestTimeoutMs);
	try {
		const headers = { 'X-Admin-Key': adminKey() };
		if (body !== undefined) {
			headers['Content-Type'] = 'application/json';
		}
		const response = await fetch(path, {
			method,
			headers,
			body: body === undefined ? undefined : JSON.stringify(body),
			credentials: 'omit',
			cache: 'no-store',
			signal: controller.signal,
		});
		const answer = await response.json().catch(() => ({}));
		if (response.status === 401) {
			throw new AuthError(answer.error ? answer.error.message : 'The admin key was refused.');
		}
		if (!response.ok) {
			const failure = new Error(answer.error ? answer.error.message : `${method} ${path} answered ${response.status}`);
			failure.status = response.status;
			throw failure;
		}
		return answer;
	} finally {
		clearTimeout(timer);
	}
}

function showKeyPanel(message) {
	$('main').hidden = true;
	$('reset-open').hidden = true;
	$('key-panel').hidden = false;
	$('key-error').hidden = !message;
	$('key-error').textContent = message || '';
	setLive('offline', 'no key');
	$('key-input').focus();
}

// ---- Loading --------------------------------------------------------------------------------

function saveSelection() {
	sessionStorage.setItem(SelectionName, JSON.stringify(view.selection));
}

function loadSelection() {
	try {
		const saved = JSON.parse(sessionStorage.getItem(SelectionName) || '{}');
		view.selection.player = typeof saved.player === 'string' ? saved.player : '';
		view.selection.container = typeof saved.container === 'string' ? saved.container : '';
	} catch (error) {
		view.selection = { player: '', container: '' };
	}
}

// One round of requests, all at once, so that a change is on screen one round trip after the
// emulator reports it. A selection that no longer exists is corrected and loaded in a second round.
async function refresh() {
	for (let round = 0; round < 2; round++) {
		if (await load()) {
			break;
		}
	}
	saveSelection();
	draw();
}

// A 404 means the thing was deleted meanwhile (a reset): no data, not a failure.
async function adminOrNothing(path) {
	try {
		return await admin('GET', path);
	} catch (error) {
		if (error.status !== 404) {
			throw error;
		}
		return null;
	}
}

// True when the selection held.
async function load() {
	const player = view.selection.player;
	const container = view.selection.container;
	const known = view.containers.find((each) => each.id === container);
	const since = known ? Math.max(0, known.version - HistoryShown) : 0;
	const encodedPlayer = encodeURIComponent(player);
	const [players, faults, containers, replays, history] = await Promise.all([
		admin('GET', '/admin/players'),
		admin('GET', '/admin/faults'),
		player ? adminOrNothing(`/admin/players/${encodedPlayer}/containers`) : null,
		player ? admin('GET', `/admin/dashboard/replays?player_id=${encodedPlayer}`) : null,
		container ? adminOrNothing(`/admin/containers/${encodeURIComponent(container)}/history?since=${since}`) : null,
	]);
	view.players = players.players;
	view.nowOffsetMs = Date.parse(players.now) - Date.now();
	view.faults = faults;
	view.containers = containers ? containers.containers : [];
	view.replays = replays ? replays.replays : [];
	view.history = history && history.player_id === player ? history : null;
	if (view.history && view.history.entries.length > HistoryShown) {
		view.history.entries = view.history.entries.slice(-HistoryShown);
	}
	if (!view.players.some((each) => each.id === player)) {
		view.selection = { player: view.players.length > 0 ? view.players[0].id : '', container: '' };
		return !view.selection.player;
	}
	if (!view.containers.some((each) => each.id === container)) {
		view.selection.container = view.containers.length > 0 ? view.containers[0].id : '';
		return !view.selection.container;
	}
	return view.history !== null;
}

// Waits for the emulator to say something changed (it answers at once when it has, else after a
// few seconds), then reloads. A selection or a change made on the page reloads at once instead.
let wake = null;
let bWakeRequested = false;

async function follow() {
	let stamp = '';
	const generation = ++view.generation;
	while (generation === view.generation) {
		try {
			let result = null;
			if (!bWakeRequested) {
				const waited = admin('GET', `/admin/dashboard/wait?stamp=${encodeURIComponent(stamp)}`);
				const woken = new Promise((resolve) => { wake = () => resolve(null); });
				result = await Promise.race([waited, woken]);
				wake = null;
				if (result === null) {
					// Its answer, or its failure, no longer matters.
					waited.catch(() => {});
				}
			}
			bWakeRequested = false;
			if (result !== null) {
				if (result.stamp === stamp) {
					continue;
				}
				stamp = result.stamp;
			}
			await refresh();
			setLive('live', 'live');
		} catch (error) {
			if (error instanceof AuthError) {
				sessionStorage.removeItem(KeyName);
				view.generation++;
				showKeyPanel(error.message);
				return;
			}
			setLive('offline', 'emulator not answering');
			await new Promise((resolve) => setTimeout(resolve, 1000));
		}
	}
}

function reload() {
	bWakeRequested = true;
	if (wake) {
		wake();
	}
}

function setLive(state, text) {
	$('live').dataset.state = state;
	$('live').textContent = text;
}

// ---- Drawing --------------------------------------------------------------------------------

function draw() {
	drawIfChanged('players', [view.players, view.selection.player], drawPlayers);
	drawIfChanged('containers', [view.containers, view.selection], drawContainers);
	drawIfChanged('history', [view.history, view.replays], drawHistory);
	drawIfChanged('faults', view.faults, drawFaults);
	drawExpiries();
}

// Redraws a part only when what it shows changed, so that hovering and reading are not disturbed.
function drawIfChanged(part, data, drawPart) {
	const text = JSON.stringify(data);
	if (view.drawn[part] !== text) {
		view.drawn[part] = text;
		drawPart();
	}
}

function drawPlayers() {
	const list = $('players');
	list.replaceChildren();
	$('player-count').textContent = String(view.players.length);
	$('players-empty').hidden = view.players.length > 0;
	for (const player of view.players) {
		const item = el('li');
		const button = el('button', 'player');
		button.type = 'button';
		button.dataset.playerId = player.id;
		button.setAttribute('aria-selected', String(player.id === view.selection.player));
		button.append(el('div', 'pid', player.id));
		const meta = el('div', 'meta');
		meta.append(el('span', '', `${player.provider} · ${player.subject}`));
		const expiry = el('span', 'expiry');
		expiry.dataset.expiresAt = player.token_expires_at || '';
		meta.append(expiry);
		button.append(meta);
		button.addEventListener('click', () => {
			view.selection = { player: player.id, container: '' };
			saveSelection();
			reload();
		});
		item.append(button);
		list.append(item);
	}
}

// Token expiries count down between reloads.
function drawExpiries() {
	const now = Date.now() + view.nowOffsetMs;
	for (const node of document.querySelectorAll('.expiry')) {
		const at = node.dataset.expiresAt ? Date.parse(node.dataset.expiresAt) : NaN;
		if (Number.isNaN(at)) {
			node.textContent = 'no token';
			node.className = 'expiry gone';
			node.title = '';
			continue;
		}
		const left = Math.floor((at - now) / 1000);
		node.title = `token expires ${new Date(at).toISOString()}`;
		if (left <= 0) {
			node.textContent = 'token expired';
			node.className = 'expiry gone';
		} else {
			node.textContent = `token ${formatDuration(left)} left`;
			node.className = left < 300 ? 'expiry soon' : 'expiry ok';
		}
	}
}

function formatDuration(seconds) {
	if (seconds < 60) {
		return `${seconds} s`;
	}
	if (seconds < 300) {
		return `${Math.floor(seconds / 60)} min ${seconds % 60} s`;
	}
	if (seconds < 3600) {
		return `${Math.floor(seconds / 60)} min`;
	}
	return `${Math.floor(seconds / 3600)} h ${Math.floor((seconds % 3600) / 60)} min`;
}

function drawContainers() {
	const head = $('player-head');
	head.replaceChildren();
	$('no-player').hidden = Boolean(view.selection.player);
	const area = $('containers');
	area.replaceChildren();
	if (!view.selection.player) {
		return;
	}
	head.append(el('h1', '', view.selection.player));
	if (view.containers.length === 0) {
		area.append(el('p', 'empty', 'This player has no container yet.'));
	}
	for (const container of view.containers) {
		const card = el('section', 'card container');
		card.dataset.containerId = container.id;
		card.setAttribute('aria-selected', String(container.id === view.selection.container));
		card.addEventListener('click', () => {
			if (view.selection.container !== container.id) {
				view.selection.container = container.id;
				saveSelection();
				reload();
			}
		});
		const header = el('header');
		const title = el('div');
		title.append(el('div', 'kind', container.kind), el('div', 'cid', container.id));
		const size = container.layout === 'grid' ? `${container.grid_width} × ${container.grid_height} grid` : `${container.slot_count} slots`;
		const facts = el('div', 'row');
		facts.append(el('span', 'dim', `${size} · ${container.items.length} stacks`), el('span', 'version', `v${container.version}`));
		header.append(title, facts);
		card.append(header);
		card.append(container.layout === 'grid' ? drawGrid(container) : drawSlots(container));
		area.append(card);
	}
}

// A stable colour per item id, so that the same item looks the same everywhere.
function hueOf(text) {
	let hash = 0;
	for (let i = 0; i < text.length; i++) {
		hash = (hash * 31 + text.charCodeAt(i)) | 0;
	}
	return Math.abs(hash) % 360;
}

function drawStack(stack) {
	const node = el('div', stack.rotated ? 'stack rotated' : 'stack');
	node.dataset.instanceId = stack.id;
	node.dataset.itemId = stack.item_id;
	node.style.setProperty('--hue', String(hueOf(stack.item_id)));
	node.title = `${stack.id}\n${stack.item_id} × ${stack.quantity}${stack.rotated ? ' (rotated)' : ''}`;
	const body = el('div', 'body');
	body.append(el('span', 'item', stack.item_id), el('span', 'qty', `×${stack.quantity}`));
	node.append(body);
	return node;
}

function drawGrid(container) {
	const width = container.grid_width;
	const height = container.grid_height;
	// Cells shrink for large grids, down to a size that still shows a rectangle.
	const cell = Math.max(8, Math.min(60, Math.floor(720 / width)));
	const scroll = el('div', 'scroll');
	const grid = el('div', 'grid');
	grid.style.setProperty('--cell', `${cell}px`);
	grid.style.width = `${width * cell + 1}px`;
	grid.style.height = `${height * cell + 1}px`;
	grid.dataset.cell = String(cell);
	for (const stack of container.items) {
		const node = drawStack(stack);
		node.dataset.x = String(stack.x);
		node.dataset.y = String(stack.y);
		node.style.left = `${stack.x * cell}px`;
		node.style.top = `${stack.y * cell}px`;
		node.style.width = `${stack.grid_w * cell + 1}px`;
		node.style.height = `${stack.grid_h * cell + 1}px`;
		grid.append(node);
	}
	scroll.append(grid);
	return scroll;
}

function drawSlots(container) {
	const wrap = el('div');
	const bySlot = new Map(container.items.map((stack) => [stack.slot_index, stack]));
	const highest = container.items.reduce((most, stack) => Math.max(most, stack.slot_index), -1);
	// A huge slot container shows the slots up to its last stack and a few more.
	const shown = Math.min(container.slot_count, Math.max(Math.min(container.slot_count, 60), highest + 11), MaxSlotsDrawn);
	const slots = el('div', 'slots scroll');
	for (let index = 0; index < shown; index++) {
		const slot = el('div', 'slot');
		slot.dataset.slotIndex = String(index);
		slot.append(el('span', 'index', index));
		const stack = bySlot.get(index);
		if (stack) {
			const node = drawStack(stack);
			node.dataset.slotIndex = String(index);
			if (stack.slot_key) {
				node.title += `\nslot key ${stack.slot_key}`;
			}
			slot.append(node);
		}
		slots.append(slot);
	}
	wrap.append(slots);
	if (shown < container.slot_count) {
		const hidden = container.items.filter((stack) => stack.slot_index >= shown).length;
		wrap.append(el('p', 'note', `Showing slots 0 to ${shown - 1} of ${container.slot_count}${hidden ? `; ${hidden} stacks further on` : ''}.`));
	}
	return wrap;
}

function describePlace(to) {
	if (!to || typeof to !== 'object') {
		return '';
	}
	const parts = [];
	if (to.slot_index !== undefined) {
		parts.push(`slot ${to.slot_index}`);
	}
	if (to.x !== undefined || to.y !== undefined) {
		parts.push(`(${to.x}, ${to.y})`);
	}
	if (to.rotated !== undefined) {
		parts.push(to.rotated ? 'rotated' : 'upright');
	}
	if (to.slot_key) {
		parts.push(`key "${to.slot_key}"`);
	}
	return parts.join(' ');
}

function describeIntent(intent) {
	switch (intent.kind) {
	case 'grant':
		return `${intent.item_id} ×${intent.quantity}${intent.to ? ` at ${describePlace(intent.to)}` : ''}`;
	case 'consume':
		return `${intent.quantity} of ${intent.instance_id}`;
	case 'move': {
		const where = describePlace(intent.to);
		const into = intent.to_container_id ? ` into ${intent.to_container_id}` : '';
		return `${intent.instance_id}${into}${where ? ` to ${where}` : ''}`;
	}
	default:
		return JSON.stringify(intent);
	}
}

function describeEffect(effect) {
	const place = effect.slot_index >= 0 ? `slot ${effect.slot_index}` : `(${effect.x}, ${effect.y})${effect.rotated ? ' rotated' : ''}`;
	if (effect.change === 'removed') {
		return `${effect.item_id} removed${effect.to_container_id ? ` (to ${effect.to_container_id})` : ''}`;
	}
	return `${effect.item_id} ${effect.change}: ×${effect.quantity} at ${place}`;
}

function formatTime(ms) {
	const date = new Date(ms);
	return `${date.toISOString().slice(11, 23)} UTC`;
}

function drawHistory() {
	const list = $('history');
	list.replaceChildren();
	const history = view.history;
	$('history-empty').hidden = Boolean(history);
	$('history-title').textContent = history ? history.container_id : '';
	if (!history) {
		return;
	}
	// A replay adds no version: it is shown by the entry its key made, and as a row of its own at its time.
	const entryKeys = new Set(history.entries.filter((entry) => entry.idempotency_key).map((entry) => entry.idempotency_key));
	const replays = view.replays.filter((replay) => entryKeys.has(replay.idempotency_key));
	const rows = history.entries.map((entry) => ({ at: entry.at_ms, version: entry.version, entry }));
	for (const replay of replays) {
		rows.push({ at: replay.at_ms, version: Infinity, replay });
	}
	rows.sort((a, b) => b.at - a.at || b.version - a.version);
	const seen = view.newestVersionSeen.get(history.container_id) || 0;
	for (const row of rows) {
		list.append(row.entry ? drawEntry(row.entry, replays, seen) : drawReplay(row.replay));
	}
	const first = history.entries.length > 0 ? history.entries[0].version : 1;
	if (first > 1) {
		list.append(el('li', 'empty', `The ${first - 1} earlier versions are not shown.`));
	}
	view.newestVersionSeen.set(history.container_id, history.version);
}

function drawEntry(entry, replays, seenVersion) {
	const item = el('li', 'entry');
	if (seenVersion > 0 && entry.version > seenVersion) {
		item.classList.add('fresh');
	}
	item.dataset.version = String(entry.version);
	const top = el('div', 'top');
	const left = el('span');
	left.append(el('span', 'v', `v${entry.version}`), document.createTextNode(' '), el('span', 'op', entry.operation));
	top.append(left, el('span', 'time', formatTime(entry.at_ms)));
	item.append(top);
	const ids = el('div', 'ids');
	ids.append(el('span', 'mono request-id', entry.request_id));
	ids.append(el('span', 'mono key', entry.idempotency_key ? `key ${entry.idempotency_key}` : 'no idempotency key'));
	const replayed = entry.idempotency_key ? replays.filter((replay) => replay.idempotency_key === entry.idempotency_key).length : 0;
	ids.append(el('span', replayed ? 'badge replay' : 'badge', replayed ? `replayed ×${replayed}` : 'first answer'));
	item.append(ids);
	const intents = el('ul', 'intents');
	entry.intents.forEach((intent, index) => {
		const line = el('li', 'intent');
		line.append(el('span', `k ${intent.kind}`, intent.kind), document.createTextNode(describeIntent(intent)));
		for (const effect of entry.effects.filter((e) => e.intent === index)) {
			line.append(el('div', 'effect', `→ ${describeEffect(effect)}`));
		}
		intents.append(line);
	});
	if (entry.intents.length === 0) {
		intents.append(el('li', 'intent dim', entry.operation === 'create' ? 'container created' : 'no intents'));
	}
	item.append(intents);
	return item;
}

function drawReplay(replay) {
	const item = el('li', 'entry replay-row');
	const top = el('div', 'top');
	const left = el('span');
	left.append(el('span', 'badge replay', 'replay'), el('span', 'mono', ` ${replay.method} ${replay.path.replace(/^\/v1\/game\//, '')} → ${replay.status}`));
	top.append(left, el('span', 'time', formatTime(replay.at_ms)));
	const ids = el('div', 'ids');
	ids.append(el('span', 'mono request-id', replay.request_id), el('span', 'mono key', `key ${replay.idempotency_key}`));
	item.append(top, ids, el('div', 'dim small', 'answered from the stored record; nothing changed'));
	return item;
}

function drawFaults() {
	const faults = view.faults;
	if (!faults) {
		return;
	}
	// Leave the inputs alone while the developer is typing in them.
	if (!$('faults-form').contains(document.activeElement)) {
		$('fault-unavailable').value = String(toPercent(faults.unavailable));
		$('fault-drop').value = String(toPercent(faults.drop));
		$('fault-delay').value = String(toPercent(faults.delay.probability));
		$('fault-delay-ms').value = String(faults.delay.ms);
		$('fault-scope').value = faults.scope;
		$('fault-seed').value = String(faults.seed);
	}
	const now = $('faults-now');
	now.replaceChildren();
	const facts = [
		['plan', faults.plan],
		['unavailable injected', faults.injected.unavailable],
		['drops injected', faults.injected.drop],
		['delays injected', faults.injected.delay],
		['eligible requests', faults.eligible_requests],
	];
	for (const [name, value] of facts) {
		const dd = el('dd', typeof value === 'number' && value > 0 && name !== 'eligible requests' ? 'hot' : '', value);
		dd.dataset.fact = name;
		now.append(el('dt', '', name), dd);
	}
}

function toPercent(probability) {
	return Math.round(probability * 100 * 1000) / 1000;
}

function planFromForm() {
	const share = (id) => {
		const value = Number($(id).value || '0');
		// The range is the emulator's to check: its refusal is shown as it words it.
		if (!Number.isFinite(value)) {
			throw new Error('A percentage must be a number.');
		}
		return value / 100;
	};
	const parts = [];
	const unavailable = share('fault-unavailable');
	const drop = share('fault-drop');
	const delay = share('fault-delay');
	const delayMs = Math.floor(Number($('fault-delay-ms').value || '0'));
	if (unavailable > 0) {
		parts.push(`unavailable=${unavailable}`);
	}
	if (drop > 0) {
		parts.push(`drop=${drop}`);
	}
	if (delay > 0) {
		parts.push(`delay=${delay}:${delayMs}`);
	}
	if (parts.length > 0 && $('fault-scope').value !== 'all') {
		parts.push(`scope=${$('fault-scope').value}`);
	}
	return parts.join(',');
}

async function applyFaults(plan) {
	const error = $('faults-error');
	error.hidden = true;
	try {
		const body = { plan };
		const seed = $('fault-seed').value;
		if (seed !== '') {
			body.seed = Number(seed);
		}
		await admin('PUT', '/admin/faults', body);
		document.activeElement.blur();
		reload();
	} catch (failure) {
		error.textContent = failure.message;
		error.hidden = false;
	}
}

// ---- Start ----------------------------------------------------------------------------------

function start() {
	$('key-panel').hidden = true;
	$('main').hidden = false;
	$('reset-open').hidden = false;
	setLive('connecting', 'connecting');
	follow();
}

function wire() {
	$('key-form').addEventListener('submit', (event) => {
		event.preventDefault();
		const key = $('key-input').value.trim();
		$('key-input').value = '';
		if (key) {
			sessionStorage.setItem(KeyName, key);
			start();
		}
	});
	$('faults-form').addEventListener('submit', (event) => {
		event.preventDefault();
		let plan;
		try {
			plan = planFromForm();
		} catch (failure) {
			$('faults-error').textContent = failure.message;
			$('faults-error').hidden = false;
			return;
		}
		applyFaults(plan);
	});
	$('faults-clear').addEventListener('click', () => applyFaults(''));
	const dialog = $('reset-dialog');
	$('reset-open').addEventListener('click', () => dialog.showModal());
	$('reset-cancel').addEventListener('click', () => dialog.close());
	$('reset-confirm').addEventListener('click', async () => {
		dialog.close();
		try {
			await admin('POST', '/admin/reset');
			view.selection = { player: '', container: '' };
			saveSelection();
			reload();
		} catch (failure) {
			setLive('offline', failure.message);
		}
	});
	setInterval(drawExpiries, 1000);
	// The address with the key pasted into a tab that shows the page already.
	window.addEventListener('hashchange', () => {
		if (takeKeyFromFragment() && adminKey()) {
			start();
		}
	});
}

document.addEventListener('DOMContentLoaded', () => {
	wire();
	takeKeyFromFragment();
	loadSelection();
	if (adminKey()) {
		start();
	} else {
		showKeyPanel('');
	}
});
