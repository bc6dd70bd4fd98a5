# Facts about the product that the desktop files, the man pages, the Debian
# package and telvarin-report's --help and --version share.
set(TELVARIN_APP_ID "com.quorvel.TelvarinGenerator")
set(TELVARIN_PRODUCT_NAME "Telvarin Generator")
set(TELVARIN_VENDOR "Quorvel")
set(TELVARIN_HOMEPAGE "https://quorvel.example/telvarin-generator")
# Where the sources and their files (the window's picture) are published.
set(TELVARIN_SOURCE_URL "https://quorvel.example/telvarin-generator/source")
# Where users report problems with the tool.
set(TELVARIN_SUPPORT_ADDRESS "support@quorvel.example")
set(TELVARIN_MAINTAINER "Quorvel Support <${TELVARIN_SUPPORT_ADDRESS}>")
set(TELVARIN_SUMMARY "diagnostic report for Quorvel printers")
set(TELVARIN_COPYRIGHT "2011-2025 Quorvel")
set(TELVARIN_LICENSE_NAME "Quorvel-proprietary")
set(TELVARIN_LICENSE_TEXT
"The Telvarin Generator is provided by Quorvel to the owners of Quorvel
printers for gathering diagnostic reports for Quorvel support. It may be
installed and used on any number of computers and passed on unchanged.
It is provided \"as is\", without warranty of any kind.")
# The date of this release: the AppStream release, the man pages' date and
# the package changelog. Change it with PROJECT_VERSION.
set(TELVARIN_RELEASE_DATE "2025-06-02")
set(TELVARIN_RELEASE_DATE_RFC2822 "Mon, 02 Jun 2025 12:00:00 +0000")
