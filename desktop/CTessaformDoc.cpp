// The empty document: a new one is Untitled, an opened file only lends it its name.
#include "CTessaformDoc.h"

#include <QFileInfo>

namespace tessaform {

bool CTessaformDoc::OnNewDocument() {
    SetTitle(kDefaultTitle);
    return true;
}

void CTessaformDoc::SetPathName(const QString& path) {
    SetTitle(QFileInfo(path).fileName());
}

void CTessaformDoc::SetTitle(const QString& title) {
    title_ = title;
    emit TitleChanged(title_);
}

}  // namespace tessaform
