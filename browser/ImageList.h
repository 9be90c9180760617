#pragma once
// The main window's toolbar image list, addressed by index as the tabs and buttons use
// it. Indexes in use:
//   3, 4  loading (alternate while a page loads)     11  browser tab
//   12    URL history                                16  FTP
//   17    My PC, Grab Website                        41  Email
//   42    first tab                                  43  not secure
//   44    secure                                     55  RSS Reader
// and for the toolbar buttons the names below. An index without an image gives a null icon.
#include <QIcon>

class TImageList {
public:
    enum : int {
        Back = 0, Forward = 1, Stop = 2, Loading1 = 3, Loading2 = 4, Refresh = 5, Search = 6, Favorites = 7,
        Home = 8, Print = 9, Open = 10, BrowserTab = 11, UrlHistory = 12, HotKeys = 13, NewPage = 14, Go = 15,
        Ftp = 16, MyPC = 17, Exit = 18, Email = 41, FirstTab = 42, NotSecure = 43, Secure = 44, Rss = 55,
    };
    static QIcon Icon(int index);
};
