FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 0
PRODUCT_TYPE: 1
# An absolute name keeps the message the same on every machine.
INCLUDE /nonexistent/shared_texts.wdl
PRODUCT_NAME: "QX-41"
DATABASE_VERSION: 1.0
FILE_NAME: "pump"
TEXT: t "misspelt"
