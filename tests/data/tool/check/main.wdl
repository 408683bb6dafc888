# A wizard with warnings in itself and in the file it includes.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10

INCLUDE texts/shared.wdl

T: title "Checked"

SCREEN_OVERLAY: start
{
   OVERLAY: o_start
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NS: pick
}

SCREEN_SINGLE_PARAM: pick
{
   VCP: choice
   {
      T: title
      CL: yes_no
      {
         yes_text*
         maybe_text
      }
   }
   NSS: nss_pick
   {
      SNS start
      GOTO start
   }
}
