FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 1.0
FILE_NAME: "lsp"

INCLUDE texts/shared.wdl

T: speed_name "Speed limit"
T: rpm "rpm"
CLF: f_modes "0,2"
LP: lp_limit = 1500

SUBROUTINE: sr_clamp
{
   CPY speed[1] speed[2,3]
   RET
}

SCREEN_OVERLAY: intro
{
   OVERLAY: o_intro
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NS: limit
}

SCREEN_DUAL_PARAM: limit
{
   VP: speed
   {
      T: speed_name
      UT: rpm
      MIN: 0
      MAX: 3000
      VAL: 1500
      SCALE: 0
      WS: ws_speed
      {
         CPY speed lp_limit
         CALL sr_clamp
      }
   }
   P: mode 100
   {
      TO: mode_name
      CLF: f_modes
   }
   NSS: nss_limit
   {
      SNS confirm
   }
}

SCREEN_SINGLE_PARAM: confirm
{
   VCP: save
   {
      T: save_name
      CL: yes_no
      {
         yes*
         no
      }
   }
}
