// The emulator's dashboard in a real browser (Debian's chromium, headless, driven by playwright-core):
// what it draws for changes made through the game API, its fault controls, and where the admin key
// may and may not appear.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, copyFileSync, mkdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { adminHeaders, call, signIn, startEmulator, stopEmulator } from './emulator.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const binary = process.env.VELMORA_EMULATOR;
const outDir = process.env.DASHBOARD_OUT || path.join(here, 'out');
// How soon the page must show a change made through the game API. Other waits have the page's
// default bound (10 s): they check what is shown, not how fast.
const ShowWithinMs = 1000;

function findChromium() {
	const candidates = [process.env.CHROMIUM, '/usr/bin/chromium', '/usr/bin/chromium-browser'].filter(Boolean);
	return candidates.find((candidate) => existsSync(candidate));
}

function loadPlaywright() {
	try {
		return createRequire(import.meta.url)('playwright-core');
	} catch (error) {
		throw new Error(`playwright-core is not installed in ${here}: run ./quarn deps (it runs npm ci there). ${error.message}`);
	}
}

describe('dashboard', () => {
	let emulator;
	let browser;
	let page;
	let player;
	let stash;
	let loadout;

	before(async () => {
		assert.ok(binary && existsSync(binary), `VELMORA_EMULATOR must name the emulator binary (got "${binary}")`);
		const chromiumPath = findChromium();
		assert.ok(chromiumPath, 'chromium is not installed: run ./quarn deps (it installs Debian\'s chromium)');
		const { chromium } = loadPlaywright();
		mkdirSync(outDir, { recursive: true });
		emulator = await startEmulator(binary);
		browser = await chromium.launch({ executablePath: chromiumPath, headless: true, args: ['--no-sandbox'], timeout: 60000 });
		const context = await browser.newContext({ viewport: { width: 1600, height: 1000 }, deviceScaleFactor: 1 });
		page = await context.newPage();
		page.setDefaultTimeout(10000);
	});

	after(async () => {
		if (browser) {
			await browser.close();
		}
		if (emulator) {
			const status = await stopEmulator(emulator);
			// Under ASan a leak or fault turns into a non-zero exit here.
			assert.deepEqual(status, { code: 0, signal: null }, `the emulator did not stop cleanly:\n${emulator.stderr.slice(-4000)}`);
		}
	});

	test('the start-up line names the page with the key in the fragment only', () => {
		const expected = `dashboard: ${emulator.base}/dashboard#key=${encodeURIComponent(emulator.key)}`;
		assert.equal(emulator.dashboardLine, expected);
	});

	test('without a key the page asks for one and the admin API answers nothing', async () => {
		await page.goto(`${emulator.base}/dashboard`);
		await page.waitForSelector('#key-panel:not([hidden])');
		assert.equal(await page.isHidden('#main'), true);
		assert.equal(await page.isHidden('#reset-open'), true);
		for (const [method, route] of [['GET', '/admin/players'], ['GET', '/admin/dashboard/wait'], ['GET', '/admin/dashboard/replays'], ['POST', '/admin/reset']]) {
			const answer = await call(emulator, method, route);
			assert.equal(answer.status, 401, `${method} ${route}`);
			assert.equal(answer.json.error.code, 'unauthorized');
			assert.ok(!('players' in answer.json) && !('stamp' in answer.json) && !('replays' in answer.json));
		}
		const wrong = await call(emulator, 'GET', '/admin/players', undefined, { 'X-Admin-Key': `${emulator.key}x` });
		assert.equal(wrong.status, 401);
	});

	test('a wrong key typed in is refused and the page asks again', async () => {
		await page.fill('#key-input', 'not-the-key');
		await page.click('#key-form button[type=submit]');
		await page.waitForSelector('#key-error:not([hidden])');
		assert.match(await page.textContent('#key-error'), /X-Admin-Key/);
		assert.equal(await page.evaluate(() => sessionStorage.getItem('velmora-admin-key')), null);
	});

	test('the page is served with a policy that keeps it to this emulator', async () => {
		const answer = await fetch(`${emulator.base}/dashboard`, { signal: AbortSignal.timeout(10000) });
		assert.equal(answer.status, 200);
		assert.match(answer.headers.get('content-type'), /^text\/html/);
		const policy = answer.headers.get('content-security-policy');
		assert.match(policy, /default-src 'none'/);
		assert.match(policy, /connect-src 'self'/);
		assert.equal(answer.headers.get('set-cookie'), null);
		const html = await answer.text();
		assert.doesNotMatch(html, /https?:\/\//, 'the page loads nothing from elsewhere');
		const missing = await fetch(`${emulator.base}/dashboard/nothing.js`, { signal: AbortSignal.timeout(10000) });
		assert.equal(missing.status, 404);
	});

	test('changes made through the game API show up within a second', async () => {
		player = await signIn(emulator, 'dashboard-demo');
		stash = (await player.game('POST', '/v1/game/containers/ensure', { kind: 'stash', layout: 'grid', grid_width: 10, grid_height: 8 })).json;
		loadout = (await player.game('POST', '/v1/game/containers/ensure', { kind: 'loadout', layout: 'slots', slot_count: 24 })).json;
		const grant = async (body, headers) => {
			const answer = await player.game('POST', '/v1/game/inventory/grant', body, headers);
			assert.equal(answer.status, 200, answer.text);
			return answer.json.instance;
		};
		const rifle = await grant({ container_id: stash.id, item_id: 'Rifle', quantity: 1, to: { x: 0, y: 0 } });
		await grant({ container_id: stash.id, item_id: 'Helmet', quantity: 1, to: { x: 4, y: 1 } });
		await grant({ container_id: stash.id, item_id: 'Backpack', quantity: 1, to: { x: 7, y: 4 } });
		await grant({ container_id: stash.id, item_id: 'Ammo', quantity: 120 });
		await grant({ container_id: loadout.id, item_id: 'Bandage', quantity: 3, to: { slot_index: 2 } });
		await grant({ container_id: loadout.id, item_id: 'Pistol', quantity: 1, to: { slot_index: 0 } });

		// The key arrives in the fragment and leaves the address bar.
		await page.goto(`${emulator.base}/dashboard#key=${encodeURIComponent(emulator.key)}`);
		await page.waitForSelector('#main:not([hidden])');
		assert.equal(new URL(page.url()).hash, '');
		await page.click(`.player[data-player-id="${player.id}"]`);
		await page.click(`.container[data-container-id="${stash.id}"]`);
		await page.waitForSelector(`.stack[data-instance-id="${rifle.id}"]`);
		await page.waitForSelector(`#history .entry[data-version="5"]`);

		// A move through the game API, turned: the stack must move to its new cells, turned, within a second.
		const key = 'dash-move-1';
		const moved = await player.game('POST', '/v1/game/inventory/transaction', {
			container_id: stash.id,
			expected_version: 5,
			intents: [{ kind: 'move', instance_id: rifle.id, to: { x: 6, y: 1, rotated: true } }],
		}, { 'Idempotency-Key': key });
		assert.equal(moved.status, 200, moved.text);
		const started = Date.now();
		await page.waitForFunction(({ id }) => {
			const node = document.querySelector(`.stack[data-instance-id="${id}"]`);
			return node && node.dataset.x === '6' && node.dataset.y === '1' && node.classList.contains('rotated');
		}, { id: rifle.id }, { timeout: ShowWithinMs });
		console.log(`move shown after ${Date.now() - started} ms`);

		// Where it is drawn: over cells (6,1) to (6,3), one cell wide and three high.
		const box = await page.evaluate((id) => {
			const node = document.querySelector(`.stack[data-instance-id="${id}"]`);
			const grid = node.parentElement;
			const cell = Number(grid.dataset.cell);
			const a = node.getBoundingClientRect();
			const g = grid.getBoundingClientRect();
			return { x: (a.left - g.left) / cell, y: (a.top - g.top) / cell, w: Math.round(a.width / cell), h: Math.round(a.height / cell),
				label: node.textContent, title: node.title };
		}, rifle.id);
		assert.deepEqual({ x: box.x, y: box.y, w: box.w, h: box.h }, { x: 6, y: 1, w: 1, h: 3 });
		assert.match(box.label, /Rifle/);
		assert.match(box.label, /×1/);
		assert.match(box.title, new RegExp(rifle.id));

		// The newest history entry is first, with its request id, key and intent.
		const entry = page.locator('#history .entry').first();
		assert.equal(await entry.getAttribute('data-version'), '6');
		const entryText = await entry.textContent();
		assert.match(entryText, /transaction/);
		assert.match(entryText, new RegExp(moved.headers.get('x-request-id')));
		assert.match(entryText, /key dash-move-1/);
		assert.match(entryText, new RegExp(`move${rifle.id}.*\\(6, 1\\) rotated`));
		assert.match(entryText, /first answer/);

		// The same request again is a replay: no new version, but the entry says so within a second.
		const again = await player.game('POST', '/v1/game/inventory/transaction', {
			container_id: stash.id,
			expected_version: 5,
			intents: [{ kind: 'move', instance_id: rifle.id, to: { x: 6, y: 1, rotated: true } }],
		}, { 'Idempotency-Key': key });
		assert.equal(again.headers.get('idempotent-replayed'), 'true');
		const replayed = Date.now();
		await page.waitForSelector('#history .entry[data-version="6"] .badge.replay', { timeout: ShowWithinMs });
		console.log(`replay shown after ${Date.now() - replayed} ms`);
		const replayRow = page.locator('#history .entry').first();
		assert.match(await replayRow.textContent(), new RegExp(`replay.*${again.headers.get('x-request-id')}`));

		// A grant from another place shows its label in the right slot of the other container.
		await grant({ container_id: loadout.id, item_id: 'Water', quantity: 2, to: { slot_index: 5 } });
		const granted = Date.now();
		await page.waitForSelector('.slot[data-slot-index="5"] .stack[data-item-id="Water"]', { timeout: ShowWithinMs });
		console.log(`grant shown after ${Date.now() - granted} ms`);
		assert.match(await page.textContent('.slot[data-slot-index="5"]'), /Water.*×2/);
		// The selection held through the reloads.
		assert.equal(await page.getAttribute(`.container[data-container-id="${stash.id}"]`, 'aria-selected'), 'true');
	});

	test('a fault set from the page answers the next grant with 503', async () => {
		await page.fill('#fault-unavailable', '100');
		await page.selectOption('#fault-scope', 'mutating');
		await page.click('#faults-apply');
		await page.waitForFunction(() => document.querySelector('[data-fact="plan"]').textContent.includes('unavailable=1'));
		const faults = await call(emulator, 'GET', '/admin/faults', undefined, adminHeaders(emulator));
		assert.equal(faults.json.unavailable, 1);
		assert.equal(faults.json.scope, 'mutating');
		const refused = await player.game('POST', '/v1/game/inventory/grant', { container_id: stash.id, item_id: 'Medkit', quantity: 1 });
		assert.equal(refused.status, 503);
		assert.equal(refused.json.error.code, 'unavailable');
		await page.waitForFunction(() => document.querySelector('[data-fact="unavailable injected"]').textContent === '1');

		await page.click('#faults-clear');
		await page.waitForFunction(() => document.querySelector('[data-fact="plan"]').textContent === 'none');
		const granted = await player.game('POST', '/v1/game/inventory/grant', { container_id: stash.id, item_id: 'Medkit', quantity: 1 });
		assert.equal(granted.status, 200, granted.text);
	});

	test('the screenshot', async () => {
		// The page as the last grant left it.
		await page.waitForSelector('.slot[data-slot-index="5"] .stack');
		await page.waitForSelector('#history .entry[data-version="7"]');
		await page.evaluate(() => document.activeElement && document.activeElement.blur());
		const file = path.join(outDir, 'dashboard.png');
		await page.screenshot({ path: file, fullPage: false });
		console.log(`screenshot: ${file}`);
		if (process.env.DASHBOARD_IMAGES_DIR) {
			// A relative folder is taken from the repository's root.
			copyFileSync(file, path.join(path.resolve(here, '..', '..', process.env.DASHBOARD_IMAGES_DIR), 'dashboard.png'));
		}
	});

	test('players show their provider and when their token expires', async () => {
		const text = await page.textContent(`.player[data-player-id="${player.id}"]`);
		assert.match(text, /anonymous · dashboard-demo/);
		// An hour from the sign-in, give or take the second the clock ticked over meanwhile.
		assert.match(text, /token (59 min|1 h 0 min) left/);
		await call(emulator, 'POST', '/admin/clock', { advance_seconds: 3700 }, adminHeaders(emulator));
		await page.waitForFunction((id) => document.querySelector(`.player[data-player-id="${id}"] .expiry`).textContent === 'token expired',
			player.id);
		player = await signIn(emulator, 'dashboard-demo');
	});

	test('a plan the emulator refuses is reported on the page and changes nothing', async () => {
		await page.fill('#fault-unavailable', '250');
		await page.click('#faults-apply');
		await page.waitForSelector('#faults-error:not([hidden])');
		assert.match(await page.textContent('#faults-error'), /fault plan is not valid/);
		const faults = await call(emulator, 'GET', '/admin/faults', undefined, adminHeaders(emulator));
		assert.equal(faults.json.plan, 'none');
		await page.fill('#fault-unavailable', '0');
	});

	test('the key is in neither the markup nor the log', async () => {
		const markup = await page.content();
		assert.ok(!markup.includes(emulator.key), 'the key is in the page\'s markup');
		assert.ok(!page.url().includes(emulator.key), 'the key is in the address');
		assert.ok(!emulator.stderr.includes(emulator.key), 'the key is in the emulator\'s log');
		assert.ok(!emulator.stderr.includes(encodeURIComponent(emulator.key)), 'the key is in the emulator\'s log');
		// The page did read the admin API: its requests are in the log, without the key.
		assert.match(emulator.stderr, /GET \/admin\/players 200/);
		assert.match(emulator.stderr, /GET \/dashboard 200/);
	});

	test('a long history and a huge container stay readable, and odd ids are shown as text', async () => {
		const other = await signIn(emulator, '<b>odd</b> & "player"');
		const huge = (await other.game('POST', '/v1/game/containers/ensure', { kind: 'huge', layout: 'slots', slot_count: 100000 })).json;
		const odd = await other.game('POST', '/v1/game/inventory/grant', { container_id: huge.id, item_id: '<img src=x onerror=alert(1)>', quantity: 1, to: { slot_index: 1 } });
		assert.equal(odd.status, 200, odd.text);
		const far = await other.game('POST', '/v1/game/inventory/grant', { container_id: huge.id, item_id: 'Water', quantity: 1, to: { slot_index: 99999 } });
		assert.equal(far.status, 200, far.text);
		for (let i = 0; i < 205; i++) {
			const answer = await other.game('POST', '/v1/game/inventory/grant', { container_id: huge.id, item_id: 'Ammo', quantity: 1 });
			assert.equal(answer.status, 200, answer.text);
		}
		await page.click(`.player[data-player-id="${other.id}"]`);
		await page.waitForSelector(`.container[data-container-id="${huge.id}"] .note`);
		assert.match(await page.textContent(`.container[data-container-id="${huge.id}"] .note`), /Showing slots 0 to 1999 of 100000; 1 stacks further on/);
		assert.equal(await page.locator(`.container[data-container-id="${huge.id}"] .slot`).count(), 2000);
		// The newest 200 versions, then a line for the rest (version 208 is the newest: creation, 2 + 205 grants).
		await page.waitForSelector('#history .entry[data-version="208"]');
		assert.equal(await page.locator('#history .entry').count(), 200);
		assert.match(await page.textContent('#history > li:last-child'), /The 8 earlier versions are not shown/);
		// The subject and the item id went in as text.
		assert.match(await page.textContent(`.player[data-player-id="${other.id}"]`), /<b>odd<\/b> & "player"/);
		assert.match(await page.textContent('.slot[data-slot-index="1"]'), /<img src=x onerror=alert\(1\)>/);
		assert.equal(await page.locator('#players b, #containers img').count(), 0);
	});

	test('a reset asks first, then empties the page', async () => {
		await page.click('#reset-open');
		await page.click('#reset-cancel');
		assert.ok((await call(emulator, 'GET', '/admin/players', undefined, adminHeaders(emulator))).json.players.length > 0, 'cancel must keep the data');
		await page.click('#reset-open');
		await page.click('#reset-confirm');
		await page.waitForSelector('#players-empty:not([hidden])');
		assert.equal((await call(emulator, 'GET', '/admin/players', undefined, adminHeaders(emulator))).json.players.length, 0);
		assert.equal((await call(emulator, 'GET', '/admin/dashboard/replays', undefined, adminHeaders(emulator))).json.replays.length, 0);
	});
});
