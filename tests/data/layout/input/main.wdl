


# Speed limit, written by hand in a hurry.   
FILE_FORMAT_VERSION:   01.0
FILE_VERSION: 1.05	  
RUN_MODE:	0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.00
FILE_NAME: "speed"



INCLUDE    texts/shared.wdl   # the yes and no texts
T:   title    "Set   the  speed limit"   // kept as typed between the quotes
T: speed_name "Speed limit"
LP:  lp_max  =  1500
LP: lp_min = 10

        // Keeps the limit below the drive's maximum.
WS: ws_limit
  {

	CPY   speed   lp_max
    BGE speed   lp_min 1
   LBL 1   # the end
   }
SCREEN_OVERLAY: intro
{
  OVERLAY:o_intro
      {
 T :title
            OK_ACTION :   GOTO_NEXT_SCREEN
  }
NS:limit


}

SCREEN_DUAL_PARAM: limit
{
      VP: speed
  {
   T: speed_name
   MIN:0
   MAX :3000
   VAL : 1500
   SCALE: 0
   WS: ws_limit
  }
   VCP: save
   {
      T: save_name
      CL: yes_no
      {
        yes_text*
          no_text
      }
   }
}
