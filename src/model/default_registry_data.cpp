// The default HKEY_CLASSES_ROOT, one type per "T" line:
//   T name|description|DefaultIcon|flags (Q QuickView, A AlwaysShowExt)|default verb
//   E .ext[=content type] ...          extensions of the type above
//   A verb|display name|command|dde message|dde application|dde ifexec|dde topic
//   K key|default                     any other key (CLSID entries, bare extensions)
// Kept as text so the table reads like the registry it makes.

#include "model/default_registry_data.h"

namespace orvanex::model {

const char* defaultClassesText() {
    return R"(T txtfile|Text Document|C:\WINDOWS\SYSTEM\shell32.dll,1|Q|
E .txt=text/plain .log .diz .me .1st .asc=text/plain
A open||C:\WINDOWS\NOTEPAD.EXE %1
A print||C:\WINDOWS\NOTEPAD.EXE /p %1
T inifile|Configuration Settings|shell32.dll,21|Q|
E .ini .inf_old
A open||C:\WINDOWS\NOTEPAD.EXE %1
A print||C:\WINDOWS\NOTEPAD.EXE /p %1
T inffile|Setup Information|shell32.dll,21|Q|
E .inf
A open||C:\WINDOWS\NOTEPAD.EXE %1
A print||C:\WINDOWS\NOTEPAD.EXE /p %1
A install|&Install|C:\WINDOWS\rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 %1
T batfile|MS-DOS Batch File|C:\WINDOWS\SYSTEM\shell32.dll,25|A|
E .bat
A open||"%1" %*
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
A print||C:\WINDOWS\NOTEPAD.EXE /p %1
T cmdfile|Windows NT Command Script|C:\WINDOWS\SYSTEM\shell32.dll,25||
E .cmd
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
T comfile|MS-DOS Application|%1|A|
E .com
A open||"%1" %*
T exefile|Application|%1|QA|
E .exe=application/x-msdownload
A open||"%1" %*
T piffile|Shortcut to MS-DOS Program|C:\WINDOWS\SYSTEM\PIFMGR.DLL,0|A|
E .pif
A open||"%1" %*
T lnkfile|Shortcut|C:\WINDOWS\SYSTEM\shell32.dll,29|A|
E .lnk
T scrfile|Screen Saver|%1|Q|
E .scr
A open||"%1" /S
A config|C&onfigure|%1
A install|&Install|C:\WINDOWS\rundll.exe desk.cpl,InstallScreenSaver %l
T dllfile|Application Extension|C:\WINDOWS\SYSTEM\shell32.dll,2|Q|
E .dll=application/x-msdownload
T sysfile|System file|C:\WINDOWS\SYSTEM\shell32.dll,2|Q|
E .sys .vxd .386 .drv
T cplfile|Control Panel extension|C:\WINDOWS\SYSTEM\shell32.dll,21|Q|
E .cpl
A cplopen|Open with Control Panel|C:\WINDOWS\rundll.exe shell32.dll,Control_RunDLL %1,%*
T ocxfile|ActiveX Control|C:\WINDOWS\SYSTEM\shell32.dll,2||
E .ocx
T fonfile|Font file|C:\WINDOWS\ICONS\font.ico||
E .fon
A open||C:\WINDOWS\fontview.exe %1
A print||C:\WINDOWS\fontview.exe /p %1
T ttffile|TrueType Font file|C:\WINDOWS\ICONS\font.ico|Q|
E .ttf .ttc
A open||C:\WINDOWS\fontview.exe %1
A print||C:\WINDOWS\fontview.exe /p %1
T hlpfile|Help File|C:\WINDOWS\WINHLP32.EXE,1|Q|
E .hlp
A open||C:\WINDOWS\WINHLP32.EXE %1
T cntfile|Help Contents File|C:\WINDOWS\WINHLP32.EXE,1||
E .cnt
A open||C:\WINDOWS\WINHLP32.EXE -f %1
T regfile|Registration Entries|C:\WINDOWS\REGEDIT.EXE,1|Q|
E .reg
A open|Mer&ge|C:\WINDOWS\REGEDIT.EXE %1
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
A print||C:\WINDOWS\NOTEPAD.EXE /p %1
T Paint.Picture|Bitmap Image|C:\WINDOWS\PBRUSH.EXE,0|Q|
E .bmp=image/bmp .dib=image/bmp .rle
A open||C:\WINDOWS\PBRUSH.EXE "%1"
A print||C:\WINDOWS\PBRUSH.EXE /p "%1"
A printto||C:\WINDOWS\PBRUSH.EXE /pt "%1" "%2" "%3" "%4"
T icofile|Icon|%1|Q|
E .ico=image/x-icon
T curfile|Cursor|%1|Q|
E .cur .ani
T pcxfile|PCX Image|C:\WINDOWS\PBRUSH.EXE,0|Q|
E .pcx=image/pcx
A open||C:\WINDOWS\PBRUSH.EXE "%1"
T giffile|GIF Image|C:\WINDOWS\SYSTEM\URL.DLL,1||open
E .gif=image/gif
A open||"C:\PROGRAM FILES\INTERNET EXPLORER\IEXPLORE.EXE" -nohome|"file:%1",,-1,,,,,|IExplore|WWW_OpenURL|
T jpegfile|JPEG Image|C:\WINDOWS\SYSTEM\URL.DLL,1||open
E .jpg=image/jpeg .jpeg=image/jpeg .jpe=image/jpeg .jfif=image/pjpeg
A open||"C:\PROGRAM FILES\INTERNET EXPLORER\IEXPLORE.EXE" -nohome|"file:%1",,-1,,,,,|IExplore|WWW_OpenURL|
T pngfile|PNG Image|C:\WINDOWS\PBRUSH.EXE,0||
E .png=image/png
A open||C:\WINDOWS\PBRUSH.EXE "%1"
T tiffile|TIFF Image|C:\WINDOWS\SYSTEM\shell32.dll,13|Q|
E .tif=image/tiff .tiff=image/tiff
A open||C:\WINDOWS\KODAKIMG.EXE "%1"
A print||C:\WINDOWS\KODAKIMG.EXE /p "%1"
T xbmfile|XBM Image|C:\WINDOWS\SYSTEM\URL.DLL,1||
E .xbm=image/x-xbitmap
T wmffile|Windows Metafile|C:\WINDOWS\SYSTEM\shell32.dll,13||
E .wmf .emf
T tgafile|Targa Image|C:\WINDOWS\SYSTEM\shell32.dll,13||
E .tga
T psdfile|Photoshop Image|C:\WINDOWS\SYSTEM\shell32.dll,13||
E .psd
T SoundRec|Wave Sound|C:\WINDOWS\SNDREC32.EXE,0||play
E .wav=audio/wav
A open||C:\WINDOWS\SNDREC32.EXE %1
A play|&Play|C:\WINDOWS\SNDREC32.EXE /play /close %1
A record|&Record|C:\WINDOWS\SNDREC32.EXE %1
T midfile|MIDI Sequence|C:\WINDOWS\MPLAYER.EXE,2||play
E .mid=audio/mid .midi=audio/mid .rmi=audio/mid
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
A play|&Play|C:\WINDOWS\MPLAYER.EXE /play /close %1
T aufile|AU Format Sound|C:\WINDOWS\MPLAYER.EXE,2||
E .au=audio/basic .snd=audio/basic
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
T aifffile|AIFF Format Sound|C:\WINDOWS\MPLAYER.EXE,2||
E .aif=audio/aiff .aiff=audio/aiff .aifc=audio/aiff
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
T mp3file|MPEG Layer 3 Audio|C:\WINDOWS\MPLAYER.EXE,2||play
E .mp3=audio/mpeg .mp2=audio/mpeg .mpa=audio/mpeg
A open||C:\WINDOWS\MPLAYER.EXE %1
A play|&Play|C:\WINDOWS\MPLAYER.EXE /play /close %1
A enqueue|Add to &Playlist|C:\WINDOWS\MPLAYER.EXE /add %1
T vocfile|Creative Voice File|C:\WINDOWS\MPLAYER.EXE,2||
E .voc
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
T modfile|Module Music|C:\WINDOWS\MPLAYER.EXE,2||
E .mod .s3m .xm .it
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
T raplayer|RealAudio Clip|C:\WINDOWS\MPLAYER.EXE,3||
E .ra=audio/x-pn-realaudio .ram=audio/x-pn-realaudio .rm=audio/x-pn-realaudio
A open||C:\WINDOWS\MPLAYER.EXE %1
T AVIFile|Video Clip|C:\WINDOWS\MPLAYER.EXE,1||play
E .avi=video/avi
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
A play|&Play|C:\WINDOWS\MPLAYER.EXE /play /close %1
T mpegfile|Movie Clip (MPEG)|C:\WINDOWS\MPLAYER.EXE,1||
E .mpg=video/mpeg .mpeg=video/mpeg .mpe=video/mpeg .m1v=video/mpeg
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
T qtfile|QuickTime Movie|C:\WINDOWS\MPLAYER.EXE,1||
E .mov=video/quicktime .qt=video/quicktime
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
T flcfile|Autodesk Animation|C:\WINDOWS\MPLAYER.EXE,1||
E .flc .fli
A open||C:\WINDOWS\MPLAYER.EXE /play /close %1
T asffile|Streaming Media|C:\WINDOWS\MPLAYER.EXE,1||
E .asf=video/x-ms-asf .asx=video/x-ms-asf
A open||C:\WINDOWS\MPLAYER.EXE %1
T cdafile|CD Audio Track|C:\WINDOWS\SYSTEM\MMSYS.CPL,3||play
E .cda
A play|&Play|C:\WINDOWS\CDPLAYER.EXE /play %1
T mmmfile|MIDI Instrument Definition|C:\WINDOWS\SYSTEM\MMSYS.CPL,4||
E .idf
T wrifile|Write Document|C:\WINDOWS\WRITE.EXE,0|Q|
E .wri
A open||C:\WINDOWS\WRITE.EXE "%1"
A print||C:\WINDOWS\WRITE.EXE /p "%1"
A printto||C:\WINDOWS\WRITE.EXE /pt "%1" "%2" "%3" "%4"
T Wordpad.Document.1|WordPad Document|"C:\PROGRAM FILES\ACCESSORIES\WORDPAD.EXE",1|Q|
E .doc=application/msword .dot .wbk
A open||"C:\PROGRAM FILES\ACCESSORIES\WORDPAD.EXE" "%1"
A print||"C:\PROGRAM FILES\ACCESSORIES\WORDPAD.EXE" /p "%1"
A printto||"C:\PROGRAM FILES\ACCESSORIES\WORDPAD.EXE" /pt "%1" "%2" "%3" "%4"
T rtffile|Rich Text Format|"C:\PROGRAM FILES\ACCESSORIES\WORDPAD.EXE",2|Q|
E .rtf=application/rtf
A open||"C:\PROGRAM FILES\ACCESSORIES\WORDPAD.EXE" "%1"
A print||"C:\PROGRAM FILES\ACCESSORIES\WORDPAD.EXE" /p "%1"
T Word.Document.6|Microsoft Word 6.0 Document|C:\WINDOWS\MORICONS.DLL,1|Q|open
E .wps
A open||C:\MSOFFICE\WINWORD\WINWORD.EXE /n|[REM _DDE_Direct][FileOpen("%1")]|WinWord|[FileOpen("%1")]|System
A print||C:\MSOFFICE\WINWORD\WINWORD.EXE /n|[REM _DDE_Direct][FileOpen("%1")][FilePrint 0][DocClose 2]|WinWord||System
A new|&New|C:\MSOFFICE\WINWORD\WINWORD.EXE /n|[FileNew("%1")]|WinWord||System
T Excel.Sheet.5|Microsoft Excel Worksheet|C:\WINDOWS\MORICONS.DLL,2|Q|open
E .xls=application/vnd.ms-excel .xlt .xlw .xlb
A open||C:\MSOFFICE\EXCEL\EXCEL.EXE /e|[open("%1")]|Excel||system
A print||C:\MSOFFICE\EXCEL\EXCEL.EXE /e|[open("%1")][print()][close()]|Excel||system
T Excel.Chart.5|Microsoft Excel Chart|C:\WINDOWS\MORICONS.DLL,2||
E .xlc
A open||C:\MSOFFICE\EXCEL\EXCEL.EXE /e|[open("%1")]|Excel||system
T PowerPoint.Show.4|Microsoft PowerPoint Presentation|C:\WINDOWS\MORICONS.DLL,3|Q|open
E .ppt=application/vnd.ms-powerpoint .pps .pot
A open||C:\MSOFFICE\POWERPNT\POWERPNT.EXE %1
A print||C:\MSOFFICE\POWERPNT\POWERPNT.EXE /p %1
A show|Sho&w|C:\MSOFFICE\POWERPNT\POWERPNT.EXE /s %1
T Access.Database|Microsoft Access Database|C:\WINDOWS\MORICONS.DLL,4||open
E .mdb=application/msaccess .mda .mde
A open||C:\MSOFFICE\ACCESS\MSACCESS.EXE "%1"
T Schedule.Scd|Schedule+ File|C:\WINDOWS\MORICONS.DLL,5||
E .scd
A open||C:\MSOFFICE\SCHDPLUS.EXE "%1"
T Publisher.Document|Publisher Document|C:\WINDOWS\MORICONS.DLL,6||
E .pub
A open||C:\MSOFFICE\MSPUB.EXE "%1"
T wpdoc|WordPerfect Document|C:\WINDOWS\MORICONS.DLL,7||
E .wpd .wp5
A open||C:\COREL\WPWIN\WPWIN.EXE "%1"
T ldbfile|Database Lock File|C:\WINDOWS\MORICONS.DLL,4||
E .ldb
T dbffile|dBASE Table|C:\WINDOWS\MORICONS.DLL,8||
E .dbf .ndx .mdx
A open||C:\DBASE\DBASE.EXE %1
T csvfile|Comma Separated Values|C:\WINDOWS\MORICONS.DLL,2||
E .csv=text/csv .tsv
A open||C:\WINDOWS\NOTEPAD.EXE %1
T wk4file|Lotus 1-2-3 Worksheet|C:\WINDOWS\MORICONS.DLL,9||
E .wk4 .wk3 .wks .123
A open||C:\LOTUS\123\123W.EXE %1
T htmlfile|Internet Document (HTML)|C:\WINDOWS\SYSTEM\URL.DLL,0||open
E .htm=text/html .html=text/html .stm .shtml .htt
A open||"C:\PROGRAM FILES\INTERNET EXPLORER\IEXPLORE.EXE" -nohome|"file:%1",,-1,,,,,|IExplore|WWW_OpenURL|
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
A print||C:\WINDOWS\rundll32.exe mshtml.dll,PrintHTML "%1"
T xmlfile|XML Document|C:\WINDOWS\SYSTEM\URL.DLL,0||
E .xml=text/xml .xsl
A open||"C:\PROGRAM FILES\INTERNET EXPLORER\IEXPLORE.EXE" -nohome "%1"
T InternetShortcut|Internet Shortcut|C:\WINDOWS\SYSTEM\URL.DLL,0|A|
E .url
A open||C:\WINDOWS\rundll32.exe shdocvw.dll,OpenURL %l
A print||C:\WINDOWS\rundll32.exe mshtml.dll,PrintHTML "%1"
T cssfile|Cascading Style Sheet|C:\WINDOWS\SYSTEM\URL.DLL,0||
E .css=text/css
A open||C:\WINDOWS\NOTEPAD.EXE %1
T JSFile|JScript Script File|C:\WINDOWS\SYSTEM\shell32.dll,21||
E .js=application/x-javascript
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
T VBSFile|VBScript Script File|C:\WINDOWS\SYSTEM\shell32.dll,21||
E .vbs
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
T giffile.anim|Animated GIF|C:\WINDOWS\SYSTEM\URL.DLL,1||
E .agif
T emlfile|Internet E-Mail Message|C:\WINDOWS\SYSTEM\URL.DLL,0||open
E .eml=message/rfc822 .nws=message/rfc822 .mht
A open||"C:\PROGRAM FILES\OUTLOOK EXPRESS\MSIMN.EXE" /eml:%1
T vcffile|vCard File|C:\WINDOWS\SYSTEM\URL.DLL,0||
E .vcf=text/x-vcard
A open||"C:\PROGRAM FILES\OUTLOOK EXPRESS\WAB.EXE" /vcard %1
T certfile|Security Certificate|C:\WINDOWS\SYSTEM\URL.DLL,0||
E .cer=application/x-x509-ca-cert .crt=application/x-x509-ca-cert .der
A open||C:\WINDOWS\rundll32.exe cryptext.dll,CryptExtOpenCER %1
T pdffile|Adobe Acrobat Document|C:\WINDOWS\MORICONS.DLL,10||open
E .pdf=application/pdf
A open||"C:\ACROBAT3\READER\ACRORD32.EXE" "%1"|[FileOpen("%1")]|AcroView|[FileOpen("%1")]|Control
A print||"C:\ACROBAT3\READER\ACRORD32.EXE" /p "%1"|[FilePrint("%1")]|AcroView||Control
T psfile|PostScript File|C:\WINDOWS\MORICONS.DLL,10||
E .ps=application/postscript .eps=application/postscript .ai=application/postscript
A print||C:\WINDOWS\NOTEPAD.EXE /p %1
T texfile|TeX Document|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .tex=application/x-tex .sty .cls
A open||C:\WINDOWS\NOTEPAD.EXE %1
T CabFolder|Cabinet File|C:\WINDOWS\SYSTEM\shell32.dll,30||
E .cab
T WinZip|ZIP Archive|C:\WINDOWS\ICONS\archive.ico||open
E .zip=application/x-zip-compressed
A open||"C:\PROGRAM FILES\WINZIP\WINZIP32.EXE" "%1"
A extract|E&xtract to...|"C:\PROGRAM FILES\WINZIP\WINZIP32.EXE" -e "%1"
T arjfile|ARJ Archive|C:\WINDOWS\ICONS\archive.ico||
E .arj .lzh .lha=application/x-lzh
A open||"C:\PROGRAM FILES\WINZIP\WINZIP32.EXE" "%1"
T tarfile|Tape Archive|C:\WINDOWS\ICONS\archive.ico||
E .tar=application/x-tar .tgz=application/x-compressed .gz=application/x-gzip .z=application/x-compress
A open||"C:\PROGRAM FILES\WINZIP\WINZIP32.EXE" "%1"
T rarfile|RAR Archive|C:\WINDOWS\ICONS\archive.ico||
E .rar
A open||"C:\PROGRAM FILES\WINRAR\WINRAR.EXE" "%1"
T uuefile|UUEncoded File|C:\WINDOWS\ICONS\archive.ico||
E .uue .xxe .hqx=application/mac-binhex40
A open||"C:\PROGRAM FILES\WINZIP\WINZIP32.EXE" "%1"
T MSInfo.Document|System Information File|C:\WINDOWS\SYSTEM\shell32.dll,22||
E .nfo
A open||"C:\PROGRAM FILES\COMMON FILES\MICROSOFT SHARED\MSINFO\MSINFO32.EXE" /msinfo_file="%1"
T ShellScrap|Scrap object|C:\WINDOWS\SYSTEM\shell32.dll,11||
E .shs .shb
A open||C:\WINDOWS\rundll32.exe shscrap.dll,OpenScrap_RunDLL /shell %1
T Briefcase|Briefcase|C:\WINDOWS\SYSTEM\shell32.dll,31||
E .bfc
T dunfile|Dial-Up Networking Connection|C:\WINDOWS\SYSTEM\PIFMGR.DLL,3||
E .dun
T CompFile|Compressed Setup File|C:\WINDOWS\SYSTEM\shell32.dll,30||
E .ex_ .dl_ .in_
T hyperterm|HyperTerminal Session|C:\WINDOWS\SYSTEM\PIFMGR.DLL,4||
E .ht
A open||"C:\PROGRAM FILES\ACCESSORIES\HYPERTERMINAL\HYPERTRM.EXE" /t %1
T crdfile|Cardfile Document|C:\WINDOWS\MORICONS.DLL,11||
E .crd
A open||C:\WINDOWS\CARDFILE.EXE %1
T calfile|Calendar Document|C:\WINDOWS\MORICONS.DLL,11||
E .cal
A open||C:\WINDOWS\CALENDAR.EXE %1
T grpfile|Program Group|C:\WINDOWS\SYSTEM\shell32.dll,3||
E .grp
A open||C:\WINDOWS\GRPCONV.EXE %1
T clpfile|Clipboard Clip|C:\WINDOWS\SYSTEM\shell32.dll,11||
E .clp
A open||C:\WINDOWS\CLIPBRD.EXE %1
T recfile|Macro Recorder File|C:\WINDOWS\SYSTEM\PIFMGR.DLL,5||
E .rec
T themefile|Desktop Theme|C:\WINDOWS\SYSTEM\shell32.dll,34||
E .theme
A open||"C:\PROGRAM FILES\PLUS!\THEMES.EXE" "%1"
T mscfile|Management Console Document|C:\WINDOWS\SYSTEM\shell32.dll,22||
E .msc
T diskimage|Disk Image|C:\WINDOWS\SYSTEM\shell32.dll,6||
E .img .iso .dsk
T bakfile|Backup File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .bak .old .sav
T tmpfile|Temporary File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .tmp .$$$
T chkfile|Recovered File Fragments|C:\WINDOWS\SYSTEM\shell32.dll,2||
E .chk
T pwlfile|Password List|C:\WINDOWS\SYSTEM\shell32.dll,2||
E .pwl
T grafile|Microsoft Graph Chart|C:\WINDOWS\MORICONS.DLL,9||
E .gra
T cfile|C Source File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .c .h
A open||C:\WINDOWS\NOTEPAD.EXE %1
A compile|&Compile|C:\BORLANDC\BIN\BCC.EXE %1
T cppfile|C++ Source File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .cpp .cxx .hpp
A open||C:\WINDOWS\NOTEPAD.EXE %1
T basfile|Basic Source File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .bas .frm .vbp
A open||C:\VB\VB.EXE "%1"
T pasfile|Pascal Source File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .pas .dpr
A open||C:\WINDOWS\NOTEPAD.EXE %1
T asmfile|Assembler Source|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .asm .inc
A open||C:\WINDOWS\NOTEPAD.EXE %1
T makfile|Project Makefile|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .mak .mk
A open||C:\WINDOWS\NOTEPAD.EXE %1
T objfile|Object Module|C:\WINDOWS\SYSTEM\shell32.dll,2||
E .obj .lib
T resfile|Compiled Resources|C:\WINDOWS\SYSTEM\shell32.dll,2||
E .res .rc
T pdbfile|Program Debug Database|C:\WINDOWS\SYSTEM\shell32.dll,2||
E .pdb
T javafile|Java Source File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .java .class
A open||C:\WINDOWS\NOTEPAD.EXE %1
T perlfile|Perl Script|C:\WINDOWS\SYSTEM\shell32.dll,21||
E .pl .pm
A open||C:\PERL\BIN\PERL.EXE "%1" %*
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
T awkfile|AWK Script|C:\WINDOWS\SYSTEM\shell32.dll,21||
E .awk
A edit|&Edit|C:\WINDOWS\NOTEPAD.EXE %1
T difffile|Patch File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .diff .patch
A open||C:\WINDOWS\NOTEPAD.EXE %1
T cdrfile|CorelDRAW Graphic|C:\WINDOWS\MORICONS.DLL,7||
E .cdr
A open||C:\COREL\DRAW\CORELDRW.EXE %1
T dwgfile|AutoCAD Drawing|C:\WINDOWS\MORICONS.DLL,8||
E .dwg .dxf
A open||C:\ACAD\ACAD.EXE %1
T mpxfile|Project File|C:\WINDOWS\MORICONS.DLL,5||
E .mpp .mpx
A open||C:\MSOFFICE\WINPROJ\WINPROJ.EXE %1
T mapfile|Map File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .map
A open||C:\WINDOWS\NOTEPAD.EXE %1
T srcfile|Source Safe File|C:\WINDOWS\SYSTEM\shell32.dll,1||
E .scc
T gamesave|Saved Game|C:\WINDOWS\SYSTEM\PIFMGR.DLL,6||
E .sol .hiv
A open||C:\WINDOWS\SOL.EXE %1
T awdfile|Fax Document|C:\WINDOWS\SYSTEM\PIFMGR.DLL,7||open
E .awd
A open||C:\WINDOWS\FAXVIEW.EXE %1
A print||C:\WINDOWS\FAXVIEW.EXE /p %1
T xbffile|Phone Book Entry|C:\WINDOWS\SYSTEM\PIFMGR.DLL,4||
E .pbk
T vxdfile2|Virtual Device Driver (old)|C:\WINDOWS\SYSTEM\shell32.dll,2||
E .mpd
T Unknown||shell32.dll,0||
A openas|Open &with...|C:\WINDOWS\rundll.exe shell32.dll,OpenAs_RunDLL %1
K *|
K *\shellex\PropertySheetHandlers\{3EA48300-8CF6-101B-84FB-666CCB9BCD32}|
K .pcd|PhotoCD
K .dic|
K .bak2| 
K .xif|CLSID\{7D5EF6D0-9E4B-11D0-9C52-00AA00A70D4F}
K .cab2|CLSID\{0CD7A5C0-9F37-11CE-AE65-08002B2E1262}
K CLSID\{0CD7A5C0-9F37-11CE-AE65-08002B2E1262}|Cabinet Folder
K .xhtml|xhtmlfile
)";
}

} // namespace orvanex::model
