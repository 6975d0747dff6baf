@echo off
rem Устанавливает плагин zaDode: копирует zaDode.nbp и справку zaDode.chm в папку плагинов
rem NeoBook (первый параметр; без него файлы остаются в этой папке) и записывает полный путь
rem справки в реестр текущего пользователя. Права администратора для реестра не нужны.
setlocal
set "source=%~dp0"
set "target=%~1"
if "%target%"=="" set "target=%~dp0"
for %%I in ("%target%") do set "target=%%~fI"
if "%target:~-1%"=="\" set "target=%target:~0,-1%"
if not exist "%target%\" mkdir "%target%"
if not exist "%target%\" goto failed
if /i "%source%"=="%target%\" goto register
rem Each step checked on its own line: Wine's cmd takes "||" after copy for a failure.
copy /y "%source%zaDode.nbp" "%target%\zaDode.nbp" >nul
if errorlevel 1 goto failed
copy /y "%source%zaDode.chm" "%target%\zaDode.chm" >nul
if errorlevel 1 goto failed
:register
reg add "HKCU\Software\Tessoran\Vellmark\zaDode" /v HelpFile /t REG_SZ /d "%target%\zaDode.chm" /f >nul
if errorlevel 1 goto failed
echo zaDode установлен в папку %target%
echo Перезапустите NeoBook. Справка: %target%\zaDode.chm
exit /b 0
:failed
echo Не удалось установить zaDode в папку %target%
exit /b 1
