#include "ScriptedBoxes.h"

ScriptedBoxes::ScriptedBoxes(int answer)
    : replacement(platform::MessageBoxProvider(),
                  [this, answer](const QString &text, const QString &title, unsigned flags) {
                      texts.append(text);
                      titles.append(title);
                      this->flags.append(flags);
                      return answer;
                  })
{
}
