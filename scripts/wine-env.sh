# Sourced by the other scripts: the environment in which the Windows builds
# run under Wine.
#
# The product is a 32-bit program and runs under 32-bit Wine. Some kernels
# cannot execute 32-bit Linux programs at all, and 32-bit Wine with them;
# there the tests run a 64-bit build of the same sources under 64-bit Wine.
# QUOLVI_ARCH names the Windows build that runs here: i686 or x86_64.

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  QUOLVI_ARCH=i686
  QUOLVI_WINE=/usr/lib/wine/wine
  export WINEARCH=win32
else
  QUOLVI_ARCH=x86_64
  QUOLVI_WINE=/usr/lib/wine/wine64
  export WINEARCH=win64
fi
if [ -x /usr/lib/wine/wineserver64 ]; then
  QUOLVI_WINESERVER=/usr/lib/wine/wineserver64
else
  QUOLVI_WINESERVER=/usr/lib/wine/wineserver32
fi
export QUOLVI_ARCH QUOLVI_WINE QUOLVI_WINESERVER

# Japanese locale: Wine takes code page 932 as the ANSI code page from it.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEPREFIX="${QUOLVI_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quolvi/wine-$WINEARCH}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
