// Drives `wdltool lsp` with vscode-languageserver-protocol, the package VS
// Code's own client is built on, over the example wizards: every capability
// once, as an editor uses it.
// Usage: node lspclienttest.js WDLTOOL REPOSITORY
'use strict';

const assert = require('assert');
const cp = require('child_process');
const fs = require('fs');
const path = require('path');
const url = require('url');
const rpc = require('vscode-languageserver-protocol/node');

const [wdltool, repository] = process.argv.slice(2);
const examples = path.join(repository, 'examples');
const pumpPath = path.join(examples, 'pump', 'pump_commissioning.wdl');
const textsPath = path.join(examples, 'common', 'panel_texts.wdl');
const pump = url.pathToFileURL(pumpPath).toString();
const texts = url.pathToFileURL(textsPath).toString();
const pumpText = fs.readFileSync(pumpPath, 'utf8');
const pumpLines = pumpText.split('\n');

// The position of word on the first line that holds snippet.
function at(snippet, word) {
    const line = pumpLines.findIndex((l) => l.includes(snippet));
    assert.ok(line >= 0, `no line holds ${snippet}`);
    return { line, character: pumpLines[line].indexOf(snippet) + snippet.indexOf(word) + 1 };
}

const server = cp.spawn(wdltool, ['lsp'], { stdio: ['pipe', 'pipe', 'inherit'] });
const connection = rpc.createProtocolConnection(
    new rpc.StreamMessageReader(server.stdout),
    new rpc.StreamMessageWriter(server.stdin));

// Diagnostics as published, and those waiting for the next ones of a file.
const diagnostics = new Map();
const waiting = [];
connection.onNotification(rpc.PublishDiagnosticsNotification.type, (params) => {
    diagnostics.set(params.uri, params);
    for (const w of waiting.filter((w) => w.uri === params.uri && (!w.version || params.version === w.version))) {
        waiting.splice(waiting.indexOf(w), 1);
        w.resolve(params.diagnostics);
    }
});
function nextDiagnostics(uri, version) {
    return new Promise((resolve, reject) => {
        waiting.push({ uri, version, resolve });
        setTimeout(() => reject(new Error(`no diagnostics for ${uri}`)), 10000);
    });
}
connection.listen();

const results = [];
async function check(name, body) {
    try {
        await body();
        results.push([name, true]);
        console.log(`ok - ${name}`);
    } catch (error) {
        results.push([name, false]);
        console.log(`not ok - ${name}\n  ${String(error.stack || error).split('\n').join('\n  ')}`);
    }
}

const doc = { textDocument: { uri: pump } };

async function main() {
    await check('initialize names every capability', async () => {
        const result = await connection.sendRequest(rpc.InitializeRequest.type, {
            processId: process.pid,
            rootUri: url.pathToFileURL(examples).toString(),
            capabilities: {},
            initializationOptions: { diagnosticsDelay: 5 },
        });
        const c = result.capabilities;
        for (const p of ['hoverProvider', 'definitionProvider', 'referencesProvider', 'documentSymbolProvider',
            'documentFormattingProvider', 'renameProvider', 'codeActionProvider', 'completionProvider']) {
            assert.ok(c[p], p);
        }
        assert.strictEqual(c.textDocumentSync.change, rpc.TextDocumentSyncKind.Incremental);
        assert.strictEqual(result.serverInfo.name, 'wdltool');
        connection.sendNotification(rpc.InitializedNotification.type, {});
    });

    await check('diagnostics of a clean wizard and its included file are empty', async () => {
        const published = nextDiagnostics(pump, 1);
        const included = nextDiagnostics(texts);
        connection.sendNotification(rpc.DidOpenTextDocumentNotification.type,
            { textDocument: { uri: pump, languageId: 'wdl', version: 1, text: pumpText } });
        assert.deepStrictEqual(await published, []);
        assert.deepStrictEqual(await included, []);
    });

    await check('definition of a text of the included file', async () => {
        const result = await connection.sendRequest(rpc.DefinitionRequest.type,
            { ...doc, position: at('yes_text*', 'yes_text') });
        assert.strictEqual(result.uri, texts);
        assert.deepStrictEqual(result.range, { start: { line: 3, character: 3 }, end: { line: 3, character: 11 } });
    });

    await check('definition of a screen named by SNS', async () => {
        const result = await connection.sendRequest(rpc.DefinitionRequest.type,
            { ...doc, position: at('SNS pd_warning', 'pd_warning') });
        assert.strictEqual(result.uri, pump);
        assert.strictEqual(result.range.start.line, pumpLines.findIndex((l) => l.startsWith('SCREEN_OVERLAY: pd_warning')));
    });

    await check('references of a local parameter', async () => {
        const result = await connection.sendRequest(rpc.ReferencesRequest.type,
            { ...doc, position: at('LP: lp_kind', 'lp_kind'), context: { includeDeclaration: true } });
        const lines = pumpLines.map((l, i) => [l, i]).filter(([l]) => /\blp_kind\b/.test(l)).map(([, i]) => i);
        assert.deepStrictEqual(result.map((r) => r.range.start.line), lines);
    });

    await check('hover shows a text in English and its translations', async () => {
        const result = await connection.sendRequest(rpc.HoverRequest.type,
            { ...doc, position: at('T: welcome_title', 'welcome_title') });
        const value = result.contents.value;
        assert.match(value, /Pump commissioning/);
        assert.match(value, /German:\n\n> Pumpen-Inbetriebnahme/);
        assert.match(value, /French:/);
    });

    await check('hover shows a parameter with its number', async () => {
        const result = await connection.sendRequest(rpc.HoverRequest.type,
            { ...doc, position: at('P: ramp_up', 'ramp_up') });
        assert.match(result.contents.value, /^\*\*drive parameter\*\* `ramp_up`, number 341/);
    });

    await check('completion offers the screens after NS:', async () => {
        const position = at('NS: pump_type', 'pump_type');
        position.character -= 1;
        const result = await connection.sendRequest(rpc.CompletionRequest.type, { ...doc, position });
        const labels = result.map((i) => i.label);
        assert.ok(labels.includes('pump_type') && labels.includes('save_screen'), labels.join(' '));
        assert.ok(!labels.includes('welcome_title'));
    });

    await check('document symbols outline the screens', async () => {
        const result = await connection.sendRequest(rpc.DocumentSymbolRequest.type, doc);
        const welcome = result.find((s) => s.name === 'welcome');
        assert.ok(welcome, 'screen welcome');
        assert.deepStrictEqual(welcome.children.map((c) => c.name), ['pre_welcome', 'o_welcome']);
    });

    await check('formatting leaves the formatted example alone', async () => {
        const result = await connection.sendRequest(rpc.DocumentFormattingRequest.type,
            { ...doc, options: { tabSize: 3, insertSpaces: true } });
        assert.deepStrictEqual(result, []);
    });

    await check('rename changes every use', async () => {
        const position = at('LP: lp_kind', 'lp_kind');
        const prepared = await connection.sendRequest(rpc.PrepareRenameRequest.type, { ...doc, position });
        assert.strictEqual(prepared.placeholder, 'lp_kind');
        const result = await connection.sendRequest(rpc.RenameRequest.type, { ...doc, position, newName: 'lp_pump_kind' });
        const edits = result.changes[pump];
        assert.ok(edits.length >= 3);
        assert.ok(edits.every((e) => e.newText === 'lp_pump_kind'));
    });

    await check('a change is checked from the editor\'s text, with a quick fix', async () => {
        const position = at('      T: welcome_title', 'welcome_title');
        const range = { start: { line: position.line, character: position.character - 1 },
            end: { line: position.line, character: position.character + 12 } };
        const published = nextDiagnostics(pump, 2);
        connection.sendNotification(rpc.DidChangeTextDocumentNotification.type, {
            textDocument: { uri: pump, version: 2 },
            contentChanges: [{ range, text: 'welcome_titel' }],
        });
        const found = await published;
        assert.deepStrictEqual(found.map((d) => d.message),
            ['Text welcome_titel is not defined.', 'Overlay o_welcome is missing text.',
                'Text "welcome_title" is not used.']);
        assert.deepStrictEqual(found[0].range, range);
        const actions = await connection.sendRequest(rpc.CodeActionRequest.type,
            { ...doc, range, context: { diagnostics: [found[0]] } });
        assert.deepStrictEqual(actions.map((a) => a.title), ['Change to welcome_title', 'Define text welcome_titel']);
        assert.deepStrictEqual(actions[0].edit.changes[pump], [{ range, newText: 'welcome_title' }]);
    });

    await check('a misspelt next screen is check\'s warning under its rule, fixed by the screen it proposes', async () => {
        const position = at('NS: pump_type', 'pump_type');
        const start = position.character - 1;
        const published = nextDiagnostics(pump, 3);
        connection.sendNotification(rpc.DidChangeTextDocumentNotification.type, {
            textDocument: { uri: pump, version: 3 },
            contentChanges: [{ range: { start: { line: position.line, character: start },
                end: { line: position.line, character: start + 'pump_type'.length } }, text: 'pump_typ' }],
        });
        // The screens after it are now unreachable: -Wunreachable says so, on their lines.
        const warnings = (await published).filter((d) => d.code === '-Wundefined-screen');
        const range = { start: { line: position.line, character: start },
            end: { line: position.line, character: start + 'pump_typ'.length } };
        assert.deepStrictEqual(warnings.map((d) => [d.severity, d.range]), [[rpc.DiagnosticSeverity.Warning, range]]);
        assert.match(warnings[0].message, /^Next screen pump_typ is not defined: .* Did you mean pump_type\?$/);
        const actions = await connection.sendRequest(rpc.CodeActionRequest.type,
            { ...doc, range, context: { diagnostics: warnings } });
        assert.deepStrictEqual(actions.map((a) => a.title), ['Change to pump_type']);
        assert.deepStrictEqual(actions[0].edit.changes[pump], [{ range, newText: 'pump_type' }]);
        assert.deepStrictEqual(actions[0].diagnostics.map((d) => d.code), ['-Wundefined-screen']);
    });

    await check('shutdown and exit end the server with status 0', async () => {
        const exited = new Promise((resolve) => server.on('exit', (code) => resolve(code)));
        await connection.sendRequest(rpc.ShutdownRequest.type);
        connection.sendNotification(rpc.ExitNotification.type);
        assert.strictEqual(await exited, 0);
    });
}

const timeout = setTimeout(() => {
    console.log('not ok - the session took longer than 60 s');
    process.exit(1);
}, 60000);
main().then(() => {
    clearTimeout(timeout);
    const failed = results.filter(([, ok]) => !ok).length;
    console.log(`${results.length - failed} passed, ${failed} failed`);
    connection.dispose();
    process.exit(failed === 0 ? 0 : 1);
});
