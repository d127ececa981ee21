#pragma once

#include <functional>
#include <optional>

#include <QString>

namespace tunvell {

enum class BoxIcon { None, Information, Warning, Error };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

// The title a message box shows when the program gives it none.
inline const QString DEFAULT_BOX_TITLE = QStringLiteral("信息：");

// Everything that stops the program to ask the user: message boxes and the two
// file dialogs. Boxes are owner-less and modal; timers keep ticking meanwhile.
class Prompts {
public:
    virtual ~Prompts() = default;

    virtual BoxAnswer ShowMessage(const QString& text, const QString& title, BoxIcon icon,
                                  BoxButtons buttons) = 0;

    // Open-file dialog for one existing file; every file is listed. nullopt when
    // the user cancels, else the chosen file's full path.
    virtual std::optional<QString> ChooseFileToOpen() = 0;

    // Folder dialog with the given title; "" when the user cancels.
    virtual QString ChooseFolder(const QString& title) = 0;
};

}  // namespace tunvell
