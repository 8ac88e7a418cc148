#pragma once

#include <QString>

#include <functional>

// The art and patch readers report their own two failures in modal message
// boxes. Both go through this seam so that tests can capture them instead
// of blocking on a dialog.
namespace MessageBoxes {

enum class TBoxKind {
    Warning,     // a warning icon and a single Abort button
    Information, // an information icon and a single OK button
};

using THandler = std::function<void(TBoxKind Kind, const QString &Text)>;

void ShowWarning(const QString &Text);
void ShowInformation(const QString &Text);

// Replaces the handler that shows the boxes and returns the previous one.
// An empty handler restores the real modal boxes.
THandler SetHandler(THandler Handler);

} // namespace MessageBoxes
