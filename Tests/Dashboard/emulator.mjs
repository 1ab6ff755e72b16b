// Starts velmora-emulator for a browser test and talks to its game API, with bounded waits.
import { spawn } from 'node:child_process';

export async function startEmulator(binary, args = [], timeoutMs = 30000) {
	const child = spawn(binary, ['--port', '0', '--stop-on-stdin-close', ...args], { stdio: ['pipe', 'pipe', 'pipe'] });
	const emulator = { child, stdout: '', stderr: '', exit: null };
	const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
	exited.then((status) => { emulator.exit = status; });
	emulator.exited = exited;
	child.stderr.on('data', (chunk) => { emulator.stderr += chunk; });
	await new Promise((resolve, reject) => {
		const timer = setTimeout(() => reject(new Error(`the emulator printed no address within ${timeoutMs} ms:\n${emulator.stdout}\n${emulator.stderr}`)), timeoutMs);
		child.on('error', (error) => { clearTimeout(timer); reject(new Error(`cannot start ${binary}: ${error.message}`)); });
		child.on('exit', (code) => { clearTimeout(timer); reject(new Error(`the emulator exited (${code}) before it was ready:\n${emulator.stderr}`)); });
		child.stdout.on('data', (chunk) => {
			emulator.stdout += chunk;
			if (emulator.stdout.split('\n').length > 3) {
				clearTimeout(timer);
				resolve();
			}
		});
	});
	const lines = emulator.stdout.split('\n');
	emulator.base = lines[0].trim();
	emulator.key = lines[1].replace(/^X-Admin-Key: /, '').trim();
	emulator.dashboardLine = lines[2].trim();
	return emulator;
}

// Closes the emulator's stdin (it then stops as on SIGTERM) and waits for its exit, SIGKILL after the bound.
export async function stopEmulator(emulator, timeoutMs = 30000) {
	if (emulator.exit) {
		return emulator.exit;
	}
	emulator.child.stdin.end();
	let timer;
	const bound = new Promise((resolve) => {
		timer = setTimeout(() => {
			emulator.child.kill('SIGKILL');
			resolve(null);
		}, timeoutMs);
	});
	const status = await Promise.race([emulator.exited, bound]);
	clearTimeout(timer);
	return status;
}

export async function call(emulator, method, path, body, headers = {}) {
	const response = await fetch(emulator.base + path, {
		method,
		headers: { 'Content-Type': 'application/json', ...headers },
		body: body === undefined ? undefined : JSON.stringify(body),
		signal: AbortSignal.timeout(15000),
	});
	const text = await response.text();
	let json = null;
	try {
		json = JSON.parse(text);
	} catch (error) {
		json = null;
	}
	return { status: response.status, headers: response.headers, text, json };
}

export function adminHeaders(emulator) {
	return { 'X-Admin-Key': emulator.key };
}

// A signed-in player with a token, for the game API.
export async function signIn(emulator, ticket) {
	const answer = await call(emulator, 'POST', '/v1/game/sessions', { provider: 'anonymous', ticket });
	if (answer.status !== 200) {
		throw new Error(`sign-in answered ${answer.status}: ${answer.text}`);
	}
	const token = answer.json.tokens.access_token;
	return {
		id: answer.json.player.id,
		token,
		game: (method, path, body, headers = {}) => call(emulator, method, path, body, { Authorization: `Bearer ${token}`, ...headers }),
	};
}
