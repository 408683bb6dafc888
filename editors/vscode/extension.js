// Starts `wdltool lsp` for WDL files; everything else is the server's.
'use strict';

const vscode = require('vscode');
const { LanguageClient, TransportKind } = require('vscode-languageclient/node');

let client;

function activate(context) {
    const settings = vscode.workspace.getConfiguration('wdl');
    const command = settings.get('server.path', 'wdltool');
    const server = { command, args: ['lsp'], transport: TransportKind.stdio };
    client = new LanguageClient('wdl', 'WDL', { run: server, debug: server }, {
        documentSelector: [{ scheme: 'file', language: 'wdl' }],
        initializationOptions: {
            diagnosticsDelay: settings.get('diagnosticsDelay', 10),
            warnings: settings.get('warnings', []),
        },
    });
    context.subscriptions.push(client);
    return client.start();
}

function deactivate() {
    return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
