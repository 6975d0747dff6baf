@echo off
rem Удаляет плагин zaDode: файлы zaDode.nbp и zaDode.chm из папки плагинов NeoBook (первый
rem параметр) и запись о справке из реестра текущего пользователя.
setlocal
set "source=%~dp0"
set "target=%~1"
if "%target%"=="" set "target=%~dp0"
for %%I in ("%target%") do set "target=%%~fI"
if "%target:~-1%"=="\" set "target=%target:~0,-1%"
reg delete "HKCU\Software\Tessoran\Vellmark\zaDode" /f >nul 2>&1
if /i "%source%"=="%target%\" goto done
if exist "%target%\zaDode.nbp" del /q "%target%\zaDode.nbp"
if exist "%target%\zaDode.chm" del /q "%target%\zaDode.chm"
:done
echo zaDode удалён. Перезапустите NeoBook.
exit /b 0
