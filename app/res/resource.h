/*
 * Resource identifiers shared by KavloSSDUpdate.rc and the C++ sources.
 *
 * Plain numeric #defines only: the header is read by windres and must also
 * be usable from portable code and host-side tests that never see
 * <windows.h>. Every name is guarded so that whichever of this header and
 * the Windows headers comes first, the other does not clash.
 */
#ifndef KAVLO_RES_RESOURCE_H
#define KAVLO_RES_RESOURCE_H

/* Dialog template */
#ifndef IDD_UPDATE_DIALOG
#define IDD_UPDATE_DIALOG 101
#endif

/* Application icon: the only icon group, so Explorer also shows it for the exe */
#ifndef IDR_APP_ICON
#define IDR_APP_ICON 128
#endif

/* Dialog controls */
#ifndef IDC_WAIT_TEXT
#define IDC_WAIT_TEXT 1000
#endif
#ifndef IDC_STATUS_LABEL
#define IDC_STATUS_LABEL 1001
#endif
#ifndef IDC_STATUS_TEXT
#define IDC_STATUS_TEXT 1002
#endif
#ifndef IDC_DETAIL_TEXT
#define IDC_DETAIL_TEXT 1003
#endif
#ifndef IDC_HINT_TEXT
#define IDC_HINT_TEXT 1004
#endif

/*
 * The Windows headers own these; the fallbacks only exist so portable code
 * can name the buttons without pulling in <windows.h>. The values match
 * winuser.h token for token, so a later include there is a harmless
 * identical redefinition.
 */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCLOSE
#define IDCLOSE 8
#endif

#endif /* KAVLO_RES_RESOURCE_H */
