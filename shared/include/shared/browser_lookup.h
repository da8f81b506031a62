// The default web browser, as the registry's ".html" association names it.
#pragma once
#include "framework/cstring.h"

// The browser's open command, cut before its "%1" placeholder. FALSE when no
// command is registered or it does not fit in 256 bytes.
BOOL GetBrowserCommand(CString& command);

// TRUE when an open command is registered for ".html" documents, whatever its
// length.
bool HasDefaultBrowser();

// Ends the command before its placeholder: the first "\"%1\"" if there is one,
// else the first "%1"; a command without either stays whole.
void CutBeforePlaceholder(CString& command);
