#include "Pictures.h"

QPixmap ProductPhoto()
{
    return QPixmap(QStringLiteral(":/pictures/product.jpg"));
}

QPixmap WideLogo()
{
    return QPixmap(QStringLiteral(":/pictures/logo-scan.png"));
}

QPixmap InfoLogo()
{
    return QPixmap(QStringLiteral(":/pictures/logo-info.png"));
}
