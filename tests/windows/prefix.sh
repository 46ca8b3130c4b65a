#!/bin/bash
# Makes the prefix every Wine prefix of the Windows suite is copied from (template, kept from the
# last run where its Wine is the same), makes the Wine prefix the Windows test executables run in,
# or ends its Wine server: the set-ups and clean-up of CTest's Windows suite.
# Usage: prefix.sh template PREFIX | prefix.sh make PREFIX KEEP_EXIT_CODE_EXE | prefix.sh end PREFIX
set -uo pipefail
source "$(dirname "$(readlink -f "$0")")/wine.sh"
wine_require
case $1 in
    template)
        version=$("$wine64" --version)
        if [ "$(cat "$2/kzb-template" 2>/dev/null)" = "$version" ]; then
            echo "Wine prefix $2 kept from the last run"
            exit 0
        fi
        unset KZB_WINE_TEMPLATE
        wine_make_prefix "$2" || exit 1
        echo "$version" >"$2/kzb-template"
        echo "Wine prefix $2 made, to be copied" ;;
    make)
        keep_exit_code=$3
        wine_make_prefix "$2" || exit 1
        # Links the tests hand to the shell reach no program of this machine.
        for kind in Browsers Mailers; do
            wine_run 60 reg add 'HKCU\Software\Wine\WineBrowser' /v "$kind" /d /bin/false /f \
                >/dev/null 2>&1 || { echo "the prefix's browser was not set"; exit 1; }
        done
        # The executables run on Qt's offscreen platform, with no display: Wine's own null display
        # driver in place of its X11 one, which cannot load there. Without it Wine's desktop
        # process fails to start, and of programs started together in a new session one now and
        # then could not make a window at all, not even Qt's hidden one for its event loop.
        wine_run 60 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 \
            || { echo "the prefix's display driver was not set"; exit 1; }
        wine_end && echo "Wine prefix $2 made" ;;
    end) wine_use_prefix "$2" && wine_end && echo "Wine server of $2 ended" ;;
    *) echo "usage: prefix.sh template PREFIX | prefix.sh make PREFIX KEEP_EXIT_CODE_EXE |" \
           "prefix.sh end PREFIX"; exit 2 ;;
esac
