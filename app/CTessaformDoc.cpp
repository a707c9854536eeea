#include "CTessaformDoc.h"

namespace tessaform {

void CTessaformDoc::SetTitle(const QString& title) {
    title_ = title;
    emit TitleChanged(title_);
}

}  // namespace tessaform
