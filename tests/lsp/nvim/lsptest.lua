-- Drives `wdltool lsp` with Neovim's built-in client over the example
-- wizards: every capability once, as a Neovim user meets it. Nothing is saved.
-- Usage: WDLTOOL=... WDLC_REPO=... nvim --headless -u NONE -i NONE -n -c 'luafile lsptest.lua'
local wdltool = assert(os.getenv('WDLTOOL'), 'WDLTOOL is not set')
local repo = assert(os.getenv('WDLC_REPO'), 'WDLC_REPO is not set')
local examples = repo .. '/examples'
local pump = examples .. '/pump/pump_commissioning.wdl'
local texts = examples .. '/common/panel_texts.wdl'

local results = {}
local function out(line)
  io.stdout:write(line .. '\n')
end
local function check(name, body)
  local ok, err = pcall(body)
  table.insert(results, ok)
  out((ok and 'ok - ' or 'not ok - ') .. name .. (ok and '' or ('\n  ' .. tostring(err))))
end
local function equal(actual, expected, what)
  if not vim.deep_equal(actual, expected) then
    error(string.format('%s: got %s, expected %s', what or 'value', vim.inspect(actual), vim.inspect(expected)), 2)
  end
end

vim.cmd('edit ' .. vim.fn.fnameescape(pump))
local buf = vim.api.nvim_get_current_buf()
local uri = vim.uri_from_bufnr(buf)

-- The place of word on the first line of the buffer that holds snippet.
local function at(snippet, word)
  for i, line in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
    local s = line:find(snippet, 1, true)
    if s then
      return { line = i - 1, character = s - 1 + snippet:find(word, 1, true) }
    end
  end
  error('no line holds ' .. snippet)
end
local function request(method, params)
  local responses = vim.lsp.buf_request_sync(buf, method, params, 10000)
  assert(responses, method .. ' got no answer')
  for _, response in pairs(responses) do
    assert(not response.err and not response.error, vim.inspect(response.err or response.error))
    return response.result
  end
end
local function positioned(snippet, word, extra)
  return vim.tbl_extend('force', { textDocument = { uri = uri }, position = at(snippet, word) }, extra or {})
end

local published = {}
local exit_code = nil
-- start_client with buf_attach_client, which every Neovim since 0.5 has;
-- vim.lsp.start (0.8) wraps the same two calls.
local client_id = vim.lsp.start_client({
  name = 'wdltool',
  cmd = { wdltool, 'lsp' },
  root_dir = examples,
  init_options = { diagnosticsDelay = 5 },
  handlers = {
    ['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
      published[result.uri] = (published[result.uri] or 0) + 1
      vim.lsp.diagnostic.on_publish_diagnostics(err, result, ctx, config)
    end,
  },
  on_exit = function(code)
    exit_code = code
  end,
})

check('the client attaches and the clean example has no diagnostics', function()
  assert(client_id, 'the server did not start')
  vim.lsp.buf_attach_client(buf, client_id)
  assert(vim.wait(10000, function() return published[uri] ~= nil end, 10), 'no diagnostics were published')
  equal(#vim.diagnostic.get(buf), 0, 'diagnostics')
  assert(published[vim.uri_from_fname(texts)], 'the included file got no diagnostics')
end)

check('definition of a text leads into the included file', function()
  local result = request('textDocument/definition', positioned('yes_text*', 'yes_text'))
  result = result[1] or result
  equal(vim.uri_to_fname(result.uri), texts, 'file')
  equal(result.range.start, { line = 3, character = 3 }, 'start')
end)

check('references of a screen', function()
  local result = request('textDocument/references',
    positioned('NS: save_screen', 'save_screen', { context = { includeDeclaration = true } }))
  equal(#result, 2, 'references')
end)

check('hover of a virtual parameter', function()
  local result = request('textDocument/hover', positioned('VCP: save_choice', 'save_choice'))
  assert(result.contents.value:find('**virtual choice parameter** `save_choice`', 1, true), result.contents.value)
end)

check('completion of a script operand', function()
  local result = request('textDocument/completion', positioned('CALL sr_limits', 'sr_limits'))
  local labels = {}
  for _, item in ipairs(result.items or result) do
    labels[item.label] = true
  end
  assert(labels['sr_limits'] and not labels['lp_kind'], vim.inspect(vim.tbl_keys(labels)))
end)

check('document symbols list the screens', function()
  local result = request('textDocument/documentSymbol', { textDocument = { uri = uri } })
  local names = {}
  for _, s in ipairs(result) do
    if s.kind == vim.lsp.protocol.SymbolKind.Class then
      table.insert(names, s.name)
    end
  end
  equal(names[1], 'welcome', 'first screen')
end)

check('an edit shows its problem, and the quick fix mends it', function()
  local place = at('      T: welcome_title', 'welcome_title')
  local before = published[uri]
  vim.api.nvim_buf_set_text(buf, place.line, place.character - 1, place.line, place.character + 12, { 'welcome_titel' })
  assert(vim.wait(10000, function() return published[uri] > before end, 10), 'no diagnostics after the edit')
  local found = vim.diagnostic.get(buf, { lnum = place.line })
  equal(found[1] and found[1].message, 'Text welcome_titel is not defined.', 'diagnostic')
  local range = { start = { line = place.line, character = place.character - 1 },
                  ['end'] = { line = place.line, character = place.character + 12 } }
  local actions = request('textDocument/codeAction',
    { textDocument = { uri = uri }, range = range, context = { diagnostics = {} } })
  equal(actions[1].title, 'Change to welcome_title', 'action')
  vim.lsp.util.apply_workspace_edit(actions[1].edit, 'utf-16')
  equal(vim.api.nvim_buf_get_lines(buf, place.line, place.line + 1, false)[1], '      T: welcome_title', 'line')
  before = published[uri]
  assert(vim.wait(10000, function() return published[uri] > before end, 10), 'no diagnostics after the fix')
  equal(#vim.diagnostic.get(buf), 0, 'diagnostics')
end)

check('formatting puts a line back in its layout', function()
  local place = at('NS: pump_type', 'NS')
  vim.api.nvim_buf_set_lines(buf, place.line, place.line + 1, false, { 'NS:pump_type   ' })
  local edits = request('textDocument/formatting',
    { textDocument = { uri = uri }, options = { tabSize = 3, insertSpaces = true } })
  vim.lsp.util.apply_text_edits(edits, buf, 'utf-16')
  equal(vim.api.nvim_buf_get_lines(buf, place.line, place.line + 1, false)[1], '   NS: pump_type', 'line')
end)

check('rename changes every use', function()
  local edit = request('textDocument/rename', positioned('LP: lp_min_flow', 'lp_min_flow', { newName = 'lp_flow_floor' }))
  vim.lsp.util.apply_workspace_edit(edit, 'utf-16')
  local text = table.concat(vim.api.nvim_buf_get_lines(buf, 0, -1, false), '\n')
  assert(not text:find('lp_min_flow', 1, true), 'an old name is left')
  assert(text:find('LP: lp_flow_floor', 1, true), 'the definition is not renamed')
end)

check('stopping the client ends the server with status 0', function()
  vim.lsp.get_client_by_id(client_id).stop()
  assert(vim.wait(10000, function() return exit_code ~= nil end, 10), 'the server did not exit')
  equal(exit_code, 0, 'exit status')
end)

local failed = 0
for _, ok in ipairs(results) do
  if not ok then
    failed = failed + 1
  end
end
out(string.format('%d passed, %d failed', #results - failed, failed))
vim.cmd(failed == 0 and 'qa!' or 'cq!')
