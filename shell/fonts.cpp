#include "shell/fonts.h"

#include <QFont>
#include <QStringList>

namespace vantelo::shell {

void install_font_substitutions()
{
    const QStringList cjk_serif = {"Noto Serif CJK SC", "AR PL UMing CN", "WenQuanYi Zen Hei", "Noto Sans CJK SC"};
    QFont::insertSubstitutions(QStringLiteral("宋体"), cjk_serif);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), cjk_serif);
    QFont::insertSubstitutions(QStringLiteral("隶书"),
                               {"AR PL UKai CN", "AR PL UMing CN", "Noto Serif CJK SC", "WenQuanYi Zen Hei"});
    // Latin form fonts: Chinese captions in them fall back to a CJK font.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {"Liberation Sans", "DejaVu Sans", "Noto Sans CJK SC", "WenQuanYi Zen Hei"});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {"Liberation Serif", "DejaVu Serif", "Noto Serif CJK SC"});
}

}  // namespace vantelo::shell
