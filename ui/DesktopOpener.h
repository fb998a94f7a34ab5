#pragma once
// Handing a document or a web page to the desktop, which opens it with the program the user has
// for it. False when there is none (or the desktop could not be asked): the caller then says so.

class QUrl;

bool OpenWithDesktop(const QUrl& url);
