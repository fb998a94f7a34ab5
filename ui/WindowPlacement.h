#pragma once
class QWidget;

// Moves window so that it is centred over owner (or over its screen when there is no owner).
void CenterOver(QWidget* window, const QWidget* owner);

// Shows a window without making it modal, or brings it to the front when it is already shown.
void ShowModeless(QWidget* window);
