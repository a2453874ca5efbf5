/* Korvane 校验: 1c25801551be791c */
/* Korvane 行校验: cwjklnz-JaRwlAB6NgkcVV_sYIl1o6vMvszq-YIl_66gJU7PaIlbx6lx6FajDFyn */
/* Korvane 行校验: IloF6IvXd2abI */
#include <pic16f877a.h>
#include <stdint.h>
//配置字: XT振荡 看门狗关 上电延时开 欠压复位开 低电压编程关 在线调试关 代码不保护 EEPROM数据不保护 程序存储器不写保护
static __code uint16_t __at(_CONFIG) configword = _FOSC_XT & _WDTE_OFF & _PWRTE_ON & _BOREN_ON & _LVP_OFF & _DEBUG_OFF & _CP_OFF & _CPD_OFF & _WRT_OFF;

// 函数声明部份
void set_port(void);
void fun_timerset(void);
void isr(void) __interrupt(0);
void fun_intset(void);
/* 用户代码开始: 全局 */
/* 用户代码结束: 全局 */

// 主函数
void main(void)
{
    set_port();
    fun_timerset();
    fun_intset();
    /* 用户代码开始: 主循环前 */
    /* 用户代码结束: 主循环前 */
    while (1) {
        /* 用户代码开始: 主循环 */
        /* 用户代码结束: 主循环 */
    }
}

//中断子程序
void isr(void) __interrupt(0)
{
    if (TMR1IE && TMR1IF) {
        /* 用户代码开始: 中断 TMR1IF */
        PORTD++;
        /* 用户代码结束: 中断 TMR1IF */
        TMR1IF = 0;
        TMR1H = 0xFF;
        TMR1L = 0x00;  //重装初值,使每次中断间隔为设定的定时时间
        //Timer1中断服务子程序
    }
}

//端口I/O定义子程序
void set_port(void)
{
    TRISA = 0x00;
    TRISB = 0x00;
    //PORTA、PORTE设为数字I/O
    ADCON1 = 0x06;
    /* 用户代码开始: set_port */
    /* 用户代码结束: set_port */
}

//定时器初始化设置子程序
void fun_timerset(void)
{

    //Timer1初始化设置
    //timer1使用预分频率1:1
    //不使用T1内部振荡器
    //Timer1工作定时器模式,定时时间:256uS,误差:0uS
    TMR1H = 0xFF;
    TMR1L = 0x00;
    T1CON = 0x01;  //T1CKPS1=0 T1CKPS0=0 T1OSCEN=0 T1SYNC=0 TMR1CS=0 TMR1ON=1
    /* 用户代码开始: fun_timerset */
    /* 用户代码结束: fun_timerset */
}

//中断允许设置子程序
void fun_intset(void)
{
    //Tiemr1中断允许
    PIE1 = 0x01;  //ADIE=0 RCIE=0 TXIE=0 SSPIE=0 CCP1IE=0 TMR2IE=0 TMR1IE=1
    //外设中断允许
    //总中断允许
    INTCON = 0xC0;  //GIE=1 PEIE=1 T0IE=0 INTE=0 RBIE=0 T0IF=0 INTF=0 RBIF=0
    /* 用户代码开始: fun_intset */
    /* 用户代码结束: fun_intset */
}
