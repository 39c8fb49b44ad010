# What the package needs beyond what wixl writes (installer/overview.wxs). scripts/package.sh
# sets the database's code page to 932 and then runs each statement with msitools' msibuild: a
# statement ends with the line that ends in ";". @PRODUCT@ stands for the edition's product
# name as the program writes it (Orvano２１ Tessel), @UPGRADECODE@ and @VERSION@ for the
# package's UpgradeCode and ProductVersion as wixl wrote them.

# The folder to install into. INSTALLDIR given on the command line must hold QuorinDef.ini.
# Without it: the folder of an installed version (RegLocator RememberedFolder, found only while
# it exists) if it still holds QuorinDef.ini, else the filing application's usual folder
# [ProgramFilesFolder]Quorin申告 if it holds QuorinDef.ini, else the installation is refused.
CREATE TABLE `DrLocator` (`Signature_` CHAR(72) NOT NULL, `Parent` CHAR(72), `Path` CHAR(255),
    `Depth` SHORT PRIMARY KEY `Signature_`, `Parent`, `Path`);
INSERT INTO `Signature` (`Signature`, `FileName`) VALUES ('GivenDefinition', 'QuorinDef.ini');
INSERT INTO `Signature` (`Signature`, `FileName`) VALUES ('RememberedDefinition', 'QuorinDef.ini');
INSERT INTO `Signature` (`Signature`, `FileName`) VALUES ('DefaultDefinition', 'QuorinDef.ini');
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('GivenDefinition', '[INSTALLDIR]', 0);
INSERT INTO `DrLocator` (`Signature_`, `Parent`, `Depth`)
    VALUES ('RememberedDefinition', 'RememberedFolder', 0);
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`)
    VALUES ('DefaultFolder', '[ProgramFilesFolder]Quorin申告', 0);
INSERT INTO `DrLocator` (`Signature_`, `Parent`, `Depth`) VALUES ('DefaultDefinition', 'DefaultFolder', 0);
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('GIVENDEFINITION', 'GivenDefinition');
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('REMEMBEREDDEFINITION', 'RememberedDefinition');
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('DEFAULTDIR', 'DefaultFolder');
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('DEFAULTDEFINITION', 'DefaultDefinition');

# Refusals, in Japanese, before anything is changed.
DELETE FROM `LaunchCondition`;
INSERT INTO `LaunchCondition` (`Condition`, `Description`) VALUES ('NOT WIX_DOWNGRADE_DETECTED',
    'この製品の新しい版がインストールされています。古い版はインストールできません。');
INSERT INTO `LaunchCondition` (`Condition`, `Description`)
    VALUES ('Installed OR NOT INSTALLDIR OR GIVENDEFINITION',
    '指定されたフォルダ [INSTALLDIR] には、申告ソフトの定義ファイル QuorinDef.ini がありません。INSTALLDIR には、申告ソフトのフォルダ (QuorinDef.ini があるフォルダ) を指定してください。');
INSERT INTO `LaunchCondition` (`Condition`, `Description`)
    VALUES ('Installed OR INSTALLDIR OR REMEMBEREDDEFINITION OR DEFAULTDEFINITION',
    '申告ソフトのフォルダ (QuorinDef.ini があるフォルダ) が見つかりません。INSTALLDIR に申告ソフトのフォルダを指定して、もう一度インストールしてください。');

# The folder found, after the refusals and before the folders are resolved; both sequences, as
# a full interface runs the first and a silent installation only the second. INSTALLDIR is
# passed from the first to the second. The removal of an installed version (uninstall, or the
# upgrade that replaces it) works in the folder that version remembered, whatever INSTALLDIR
# says.
INSERT INTO `InstallUISequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('UseRememberedFolder', '(Installed AND REMEMBEREDDIR) OR (NOT Installed AND NOT INSTALLDIR AND REMEMBEREDDEFINITION)', 101);
INSERT INTO `InstallUISequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('UseDefaultFolder', 'NOT Installed AND NOT INSTALLDIR AND DEFAULTDEFINITION', 102);
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('UseRememberedFolder', '(Installed AND REMEMBEREDDIR) OR (NOT Installed AND NOT INSTALLDIR AND REMEMBEREDDEFINITION)', 101);
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('UseDefaultFolder', 'NOT Installed AND NOT INSTALLDIR AND DEFAULTDEFINITION', 102);
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetInstallLocation', 1001);
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;INSTALLDIR'
    WHERE `Property` = 'SecureCustomProperties';

# A rebuild of the same version replaces the installed one, as a newer version does: the search
# for older versions includes the package's own version (attributes: migrate the feature states,
# include the maximum).
DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED';
INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`)
    VALUES ('@UPGRADECODE@', '@VERSION@', 513, 'WIX_UPGRADE_DETECTED');

# The names a person reads: the list of installed programs, the guide's file, the Start menu.
UPDATE `Property` SET `Value` = '@PRODUCT@ 事業概況書 連動' WHERE `Property` = 'ProductName';
UPDATE `File` SET `FileName` = 'GUIDE.HTM|使い方.html' WHERE `File` = 'Guide';
UPDATE `Directory` SET `DefaultDir` = 'OVWLINK|事業概況書 連動' WHERE `Directory` = 'MenuFolder';
UPDATE `Shortcut` SET `Name` = 'OVWCHECK|報告書の確認', `Target` = '[#Checker]',
    `Description` = '事業概況書の XML ファイルを、申告ソフトに取り込む前に確認します。'
    WHERE `Shortcut` = 'CheckerShortcut';
UPDATE `Shortcut` SET `Name` = 'GUIDE|使い方', `Target` = '[#Guide]',
    `Description` = '事業概況書 連動の使い方'
    WHERE `Shortcut` = 'GuideShortcut';
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `DirProperty`, `InstallMode`)
    VALUES ('MenuFolder', 'Checker', 'MenuFolder', 2);
